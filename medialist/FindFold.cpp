#include "medialist/FindFold.h"

#include "medialist/AsciiWords.h"

#include <QList>
#include <QString>
#include <array>
#include <cstring>
#include <mutex>

namespace {

using namespace AsciiWords;

// Lowers ASCII into out; false, with out undefined, at the first byte that is no ASCII.
bool LowerAscii(QByteArrayView text, std::string &out)
{
    const qsizetype size = text.size();
    out.resize(size_t(size));
    const char *in = text.data();
    char *to = out.data();
    qsizetype i = 0;
    for (; i + 8 <= size; i += 8) {
        uint64_t word = Word(in + i);
        if (word & HighBits)
            return false;
        word = LoweredWord(word);
        std::memcpy(to + i, &word, sizeof word);
    }
    for (; i < size; ++i) {
        const char c = in[i];
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
        to[i] = AsciiLower(c);
    }
    return true;
}

bool IsMark(char32_t character)
{
    switch (QChar::category(character)) {
    case QChar::Mark_NonSpacing:
    case QChar::Mark_SpacingCombining:
    case QChar::Mark_Enclosing:
        return true;
    default:
        return false;
    }
}

std::string FoldedCharacter(char32_t character)
{
    if (IsMark(character))
        return {};
    if (character == 0xDF || character == 0x1E9E)
        return "ss"; // Qt folds one character to one; a German reader types "strasse"
    // Hangul syllables and the scripts after them have no accents to drop; decomposing them
    // would only lengthen every text.
    const QString decomposed = character < 0x3000
        ? QString::fromUcs4(&character, 1).normalized(QString::NormalizationForm_D)
        : QString::fromUcs4(&character, 1);
    QString kept;
    for (const char32_t part : decomposed.toUcs4())
        if (!IsMark(part))
            kept += QString::fromUcs4(&part, 1);
    return kept.toCaseFolded().toStdString();
}

// The folds of the characters below U+3000, where the accented letters are, made once.
constexpr char32_t TabledEnd = 0x3000;
const std::array<std::string, TabledEnd> &FoldTable()
{
    static std::array<std::string, TabledEnd> table;
    static std::once_flag made;
    std::call_once(made, [] {
        for (char32_t character = 0; character < TabledEnd; ++character)
            table[character] = FoldedCharacter(character);
    });
    return table;
}

void AppendFolded(char32_t character, std::string &out)
{
    if (character < 0x80) {
        out += AsciiLower(char(character));
    } else if (character < TabledEnd) {
        out += FoldTable()[character];
    } else if (!IsMark(character)) {
        const char32_t folded = QChar::toCaseFolded(character);
        out += QString::fromUcs4(&folded, 1).toStdString();
    }
}

} // namespace

namespace FindFold {

bool Fold(QByteArrayView text, std::string &out)
{
    if (LowerAscii(text, out))
        return true;
    // Decoded as the list decodes it for display, so that what the user reads is what is found.
    const QString shown = QString::fromUtf8(text);
    out.clear();
    for (qsizetype i = 0; i < shown.size(); ++i) {
        char32_t character = shown[i].unicode();
        if (QChar::isHighSurrogate(character) && i + 1 < shown.size() && shown[i + 1].isLowSurrogate()) {
            character = QChar::surrogateToUcs4(shown[i].unicode(), shown[i + 1].unicode());
            ++i;
        }
        AppendFolded(character, out);
    }
    return false;
}

} // namespace FindFold
