#include "recordings/spoken_words.h"

#include <QRegularExpression>
#include <array>
#include <cstring>

namespace tool::listen {

namespace {

constexpr std::array<const char*, 20> kOnes = {
    "zero",     "one",     "two",     "three",     "four",     "five",    "six",
    "seven",    "eight",   "nine",    "ten",       "eleven",   "twelve",  "thirteen",
    "fourteen", "fifteen", "sixteen", "seventeen", "eighteen", "nineteen"};
constexpr std::array<const char*, 10> kTens = {"",      "",      "twenty",  "thirty", "forty",
                                               "fifty", "sixty", "seventy", "eighty", "ninety"};

// A number as a voice reads it: "42" is "forty two"; beyond 999 digit by digit.
QStringList numberWords(const QString& digits) {
    QStringList words;
    bool ok = false;
    const int n = digits.toInt(&ok);
    if (!ok || n > 999 || digits.size() > 3) {
        for (const QChar d : digits) words << QLatin1String(kOnes[d.digitValue()]);
        return words;
    }
    if (n >= 100) words << QLatin1String(kOnes[n / 100]) << QStringLiteral("hundred");
    const int rest = n % 100;
    if (rest == 0 && n >= 100) return words;
    if (rest < 20) {
        words << QLatin1String(kOnes[rest]);
    } else {
        words << QLatin1String(kTens[rest / 10]);
        if (rest % 10) words << QLatin1String(kOnes[rest % 10]);
    }
    return words;
}

}  // namespace

QStringList spokenWords(const QString& line) {
    static const QRegularExpression token(QStringLiteral("[0-9]+|[a-z]+(?:'[a-z]+)*"));
    QStringList words;
    auto it = token.globalMatch(line.toLower());
    while (it.hasNext()) {
        const QString word = it.next().captured();
        if (word[0].isDigit()) {
            words << numberWords(word);
        } else {
            words << word;
        }
    }
    return words;
}

namespace {

bool isVowel(QChar c) {
    return QStringLiteral("aeiou").contains(c);
}

// Letter groups read as one sound, longest first.
struct Group {
    const char* letters;
    const char* phones;
};
constexpr Group kGroups[] = {
    {"tch", "CH"},  {"igh", "AY"},  {"sch", "S K"}, {"sh", "SH"},   {"ch", "CH"}, {"th", "TH"},
    {"ph", "F"},    {"wh", "W"},    {"ck", "K"},    {"nk", "NG K"}, {"ng", "NG"}, {"qu", "K W"},
    {"ee", "IY"},   {"ea", "IY"},   {"oo", "UW"},   {"ai", "EY"},   {"ay", "EY"}, {"oa", "OW"},
    {"ou", "AW"},   {"ow", "OW"},   {"oi", "OY"},   {"oy", "OY"},   {"au", "AO"}, {"aw", "AO"},
    {"ar", "AA R"}, {"or", "AO R"}, {"er", "ER"},   {"ir", "ER"},   {"ur", "ER"}, {"x", "K S"},
};

// A vowel letter's sound: short, or long when a silent final e follows one consonant
// ("cake", "pine").
const char* vowelSound(QChar v, bool magicE) {
    switch (v.unicode()) {
        case 'a':
            return magicE ? "EY" : "AE";
        case 'e':
            return magicE ? "IY" : "EH";
        case 'i':
            return magicE ? "AY" : "IH";
        case 'o':
            return magicE ? "OW" : "AA";
        default:
            return magicE ? "UW" : "AH";
    }
}

const char* consonantSound(const QString& w, int i) {
    const QChar c = w[i];
    const bool softNext = i + 1 < w.size() && QStringLiteral("eiy").contains(w[i + 1]);
    switch (c.unicode()) {
        case 'c':
            return softNext ? "S" : "K";
        case 'g':
            return softNext && i + 1 < w.size() - 1 ? "JH" : "G";
        case 'h':
            return "HH";
        case 'j':
            return "JH";
        case 'q':
            return "K";
        case 'y':
            if (i == 0) return "Y";
            return i == w.size() - 1 ? "IY" : "IH";
        default: {
            static const char* const kPlain[] = {"B", "D", "F", "K", "L", "M", "N",
                                                 "P", "R", "S", "T", "V", "W", "Z"};
            static const char kLetters[] = "bdfklmnprstvwz";
            const char* at = std::strchr(kLetters, c.toLatin1());
            return at && *at ? kPlain[at - kLetters] : nullptr;
        }
    }
}

}  // namespace

QString guessPronunciation(const QString& spelling) {
    QString w;
    for (const QChar c : spelling.toLower()) {
        if (c >= QLatin1Char('a') && c <= QLatin1Char('z')) w += c;
    }
    // Silent letters: a final e after a consonant, kn- and wr- at the start.
    const bool finalE = w.size() > 2 && w.endsWith(QLatin1Char('e')) && !isVowel(w[w.size() - 2]);
    if (finalE) w.chop(1);
    if (w.startsWith(QLatin1String("kn")) || w.startsWith(QLatin1String("wr"))) w.remove(0, 1);
    QStringList phones;
    for (int i = 0; i < w.size();) {
        const Group* group = nullptr;
        for (const Group& g : kGroups) {
            if (w.mid(i).startsWith(QLatin1String(g.letters))) {
                group = &g;
                break;
            }
        }
        if (group) {
            phones << QLatin1String(group->phones);
            i += int(std::strlen(group->letters));
            continue;
        }
        // A doubled consonant is one sound ("ll", "pp").
        if (i > 0 && w[i] == w[i - 1] && !isVowel(w[i])) {
            ++i;
            continue;
        }
        if (isVowel(w[i])) {
            const bool magicE = finalE && i == w.size() - 2;
            phones << QLatin1String(vowelSound(w[i], magicE));
        } else if (const char* sound = consonantSound(w, i)) {
            phones << QLatin1String(sound);
        }
        ++i;
    }
    if (phones.isEmpty()) phones << QStringLiteral("AH");
    return phones.join(QLatin1Char(' '));
}

}  // namespace tool::listen
