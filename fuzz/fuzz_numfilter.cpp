// The typed-number filter on any text: the text unchanged when it holds only ASCII digits,
// points and blanks (other scripts' digits are no digits of a typed amount), "0" otherwise,
// empty for empty; filtering its own result changes nothing.
#include "fuzzcheck.h"

#include "core/common/numfilter.h"

namespace {
void check(const QString& text) {
    const QString filtered = numfilter(text);
    bool plain = true;
    for (QChar c : text) {
        const char16_t u = c.unicode();
        plain = plain && ((u >= u'0' && u <= u'9') || u == u'.' || u == u' ');
    }
    FUZZ_CHECK(filtered == (plain ? text : QStringLiteral("0")), text);
    FUZZ_CHECK(numfilter(filtered) == filtered, filtered);
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const FuzzInput input(data, size);
    check(input.restUtf8());
    check(input.restLatin1());
    return 0;
}
