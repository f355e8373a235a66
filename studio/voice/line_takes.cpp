#include "voice/line_takes.h"

namespace studio::voice {

void LineTakes::add(Take take) {
    takes_.append(std::move(take));
    if (takes_.size() > kKept) takes_.removeFirst();
    chosen_ = int(takes_.size()) - 1;
}

void LineTakes::clear() {
    takes_.clear();
    chosen_ = -1;
}

void LineTakes::choose(int index) {
    if (index >= 0 && index < takes_.size()) chosen_ = index;
}

}  // namespace studio::voice
