// Dates read from and written to text, with English month abbreviations whatever the locale.

#include "core/common/decimaltext.h"
#include "core/common/textnum.h"

#include <algorithm>
#include <array>
#include <charconv>

namespace {

using decimal::isBlank;
using decimal::isDigit;

constexpr std::array<const char*, 12> kMonths = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                 "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

// Date reading: a cursor over the trimmed text.
class DateCursor {
public:
    explicit DateCursor(QStringView text) : text_(text.trimmed()) {}

    bool atEnd() const { return pos_ == text_.size(); }
    qsizetype position() const { return pos_; }
    char16_t peek() const { return pos_ < text_.size() ? text_[pos_].unicode() : u'\0'; }
    bool eat(char16_t c) {
        if (peek() != c)
            return false;
        ++pos_;
        return true;
    }
    qsizetype skipBlanks() {
        const qsizetype start = pos_;
        while (isBlank(peek()))
            ++pos_;
        return pos_ - start;
    }
    // A run of minDigits to maxDigits digits, -1 otherwise.
    int number(int minDigits, int maxDigits) {
        int value = 0;
        int count = 0;
        while (isDigit(peek())) {
            if (++count > maxDigits)
                return -1;
            value = value * 10 + (peek() - u'0');
            ++pos_;
        }
        return count >= minDigits ? value : -1;
    }
    QStringView take(qsizetype count) {
        const QStringView part = text_.mid(pos_, count);
        pos_ += part.size();
        return part;
    }

private:
    QStringView text_;
    qsizetype pos_ = 0;
};

int monthOfName(QStringView name) {
    for (std::size_t i = 0; i < kMonths.size(); ++i) {
        if (name.compare(QLatin1String(kMonths[i]), Qt::CaseInsensitive) == 0)
            return int(i) + 1;
    }
    return -1;
}

std::optional<QDate> validDate(int year, int month, int day) {
    if (year < 0 || month < 0 || day < 0)
        return std::nullopt;
    const QDate date(year, month, day);
    if (!date.isValid())
        return std::nullopt;
    return date;
}

// Whether the pattern holds the token (lower case) at `at`, in any case. Only ASCII letters
// fold to the letters of the tokens.
bool tokenAt(QStringView pattern, qsizetype at, const char* token, qsizetype size) {
    if (pattern.size() - at < size)
        return false;
    for (qsizetype i = 0; i < size; ++i) {
        if ((pattern[at + i].unicode() | 0x20) != token[i])
            return false;
    }
    return true;
}

} // namespace

std::optional<QDate> toDate(const QString& text) {
    DateCursor cursor(text);
    if (isDigit(cursor.peek())) {
        const int first = cursor.number(1, 4);
        const qsizetype firstDigits = cursor.position();
        if (firstDigits == 4 && cursor.eat(u'-')) { // yyyy-mm-dd
            const int month = cursor.number(1, 2);
            const int day = cursor.eat(u'-') ? cursor.number(1, 2) : -1;
            if (!cursor.atEnd())
                return std::nullopt;
            return validDate(first, month, day);
        }
        if (firstDigits <= 2 && cursor.eat(u'/')) { // mm/dd/yyyy
            const int day = cursor.number(1, 2);
            const int year = cursor.eat(u'/') ? cursor.number(4, 4) : -1;
            if (!cursor.atEnd())
                return std::nullopt;
            return validDate(year, first, day);
        }
        return std::nullopt;
    }
    // mmm dd, yyyy
    const int month = monthOfName(cursor.take(3));
    if (cursor.skipBlanks() == 0)
        return std::nullopt;
    const int day = cursor.number(1, 2);
    cursor.skipBlanks();
    if (!cursor.eat(u','))
        return std::nullopt;
    cursor.skipBlanks();
    const int year = cursor.number(4, 4);
    if (!cursor.atEnd())
        return std::nullopt;
    return validDate(year, month, day);
}

QDate baseDate() {
    return QDate(1899, 12, 30);
}

// Lists write a date per line, so the text is written straight into its QString.
QString formatDate(const QDate& date, const QString& pattern) {
    if (!date.isValid())
        return {};
    int year = 0;
    int month = 0;
    int day = 0;
    date.getDate(&year, &month, &day);

    // The year in at least four digits, a minus in front when before year 1.
    char yearText[24];
    char* yearEnd = yearText;
    if (year < 0)
        *yearEnd++ = '-';
    const qint64 absYear = qAbs(qint64(year));
    for (qint64 below = 1000; below > absYear && below > 1; below /= 10)
        *yearEnd++ = '0';
    yearEnd = std::to_chars(yearEnd, yearText + sizeof yearText, absYear).ptr;
    const auto yearSize = qsizetype(yearEnd - yearText);

    // Every token but the year writes as many characters as it takes.
    const qsizetype n = pattern.size();
    QString out(n + (n / 4) * std::max<qsizetype>(0, yearSize - 4), Qt::Uninitialized);
    QChar* p = out.data();
    auto putTwo = [&](int v) {
        *p++ = QLatin1Char(char('0' + v / 10));
        *p++ = QLatin1Char(char('0' + v % 10));
    };
    for (qsizetype i = 0; i < n;) {
        if (tokenAt(pattern, i, "yyyy", 4)) {
            for (const char* c = yearText; c != yearEnd; ++c)
                *p++ = QLatin1Char(*c);
            i += 4;
        } else if (tokenAt(pattern, i, "mmm", 3)) {
            for (const char* c = kMonths[std::size_t(month - 1)]; *c != '\0'; ++c)
                *p++ = QLatin1Char(*c);
            i += 3;
        } else if (tokenAt(pattern, i, "mm", 2)) {
            putTwo(month);
            i += 2;
        } else if (tokenAt(pattern, i, "dd", 2)) {
            putTwo(day);
            i += 2;
        } else {
            *p++ = pattern[i++];
        }
    }
    out.truncate(p - out.constData());
    return out;
}
