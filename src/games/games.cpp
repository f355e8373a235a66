#include "games/games.h"

#include <QHash>

#include "games/common/game_window.h"
#include "games/fill_in/fill_in_window.h"
#include "games/match/match_game_window.h"
#include "games/sentence_order/sentence_order_window.h"
#include "games/word_finder/word_finder_window.h"
#include "games/word_spell/word_spell_window.h"
#include "reader/reader_window.h"

namespace games {

namespace {

using Opener = void (*)(QWidget* reader);

// The toolbar button of each game and what opens its window.
const QHash<QString, Opener>& openers() {
    static const QHash<QString, Opener> table{
        {QStringLiteral("超级按钮_填一填"), &OpenFillInGame},
        {QStringLiteral("超级按钮_排序"), &OpenSentenceOrderGame},
        {QStringLiteral("超级按钮_单词排序"), &OpenWordSpellWindow},
        {QStringLiteral("超级按钮_连连看"), &openGameWindow<MatchGameWindow>},
        {QStringLiteral("超级按钮_汉找英"), &openGameWindow<ChineseToEnglishWindow>},
        {QStringLiteral("超级按钮_英找汉"), &openGameWindow<EnglishToChineseWindow>},
    };
    return table;
}

}  // namespace

void attachGames(reader::ReaderWindow& window) {
    reader::ReaderWindow* reader = &window;
    QObject::connect(reader, &reader::ReaderWindow::gameRequested, reader,
                     [reader](const QString& button) {
                         if (const Opener open = openers().value(button)) open(reader);
                     });
}

}  // namespace games
