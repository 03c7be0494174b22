// Fuzz target: the walk over colour and attribute codes. Every byte is one
// character (Latin-1), so inputs reach every control character. It stops on
// a code read past the text or out of its shape, and on a stripped text that
// still holds a code, a control character other than CR and LF, or more than
// the text had.

#include "core/TextUtils.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

void check(bool ok) {
    if (!ok)
        std::abort();
}

// One or two digits of foreground, then "," and up to two of background.
void checkCode(const QString& text, qsizetype pos, const ColorCode& code) {
    check(code.length >= 0 && code.length <= 5 && pos + code.length <= text.size());
    if (code.fore < 0) {
        check(code.fore == -1 && code.back == -1 && code.length == 0);
        return;
    }
    check(code.fore <= 99 && code.back >= -1 && code.back <= 99 && code.length >= 1);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString text = QString::fromLatin1(reinterpret_cast<const char*>(data), qsizetype(size));
    for (qsizetype pos = 0; pos <= text.size(); ++pos) {
        if (pos == text.size() || pos == 0 || text[pos - 1] == QChar(3))
            checkCode(text, pos, ReadColorCode(text, pos));
    }
    const QString stripped = StripColorCodes(text);
    check(stripped.size() <= text.size());
    for (const QChar c : stripped)
        check(c.unicode() >= 32 || c == u'\r' || c == u'\n');
    check(StripColorCodes(stripped) == stripped);
    return 0;
}
