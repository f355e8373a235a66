#include "reader/reader_state.h"

namespace reader {

ReaderState& readerState() {
    static ReaderState state;
    return state;
}

void resetReaderState() {
    readerState() = ReaderState();
}

}  // namespace reader
