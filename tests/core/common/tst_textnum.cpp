#include "core/common/decimaltext.h"
#include "core/common/textnum.h"

#include <QLocale>
#include <QRandomGenerator>
#include <QtTest>

#include <bit>
#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

namespace {
constexpr double kNan = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

// The number patterns of the windows, then shapes at the edges of the quick writer: no slot,
// 19 and 20 decimals, a second point, no pattern.
// clang-format off
const QStringList kPatterns = {
    "$0.00", "0000", "000", "00", "0", "0.00 Hr", "0.0000%", "000.0000%", "0.000 %", "0.000%",
    "0.00 hours", "0.00 Days", "0.00 days delivery", "0.0000", "0.00", "0000:        ",
    "0000:  ", "0000 -> ", "$0.00 ", "$0.00         ", "$0.00          ", ".00", "#",
    "0.0000000000000000000", "0.00000000000000000000", "0.0.0", "%0", ""};
// clang-format on

// Patterns of slots, points, percent signs and other characters, up to 24 long.
QStringList randomPatterns(QRandomGenerator& random, int count) {
    const QString alphabet = QStringLiteral("00000.%$ H\u00e9");
    QStringList patterns;
    for (int i = 0; i < count; ++i) {
        QString pattern;
        for (int n = random.bounded(25); n > 0; --n)
            pattern += alphabet[random.bounded(int(alphabet.size()))];
        patterns << pattern;
    }
    return patterns;
}

// The exact decimal of a value, taken through the readers from its shortest text, as the
// writers took it before they had a quick route.
template <typename T> decimal::Decimal exactOf(T value) {
    if (!std::isfinite(value))
        return {};
    char buffer[64];
    const auto end =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific).ptr;
    return *decimal::parseStrict(QString::fromLatin1(buffer, end - buffer));
}
decimal::Decimal exactOf(Money value) {
    return *decimal::parseStrict(value.decimalText());
}
decimal::Decimal exactOf(qint64 value) {
    return *decimal::parseStrict(QString::number(value));
}

template <typename T> bool sameBits(std::optional<T> a, std::optional<T> b) {
    return a.has_value() == b.has_value() && (!a || std::memcmp(&*a, &*b, sizeof(T)) == 0);
}

// The shortest text of a single as the standard library writes it, as digits and exponent.
decimal::Short referenceShort(float value) {
    char buffer[48];
    const auto end =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific).ptr;
    const char* p = buffer;
    const bool negative = *p == '-';
    p += negative ? 1 : 0;
    quint64 digits = 0;
    int count = 0;
    for (; *p != 'e'; ++p) {
        if (*p != '.') {
            digits = digits * 10 + quint64(*p - '0');
            ++count;
        }
    }
    int exponent = 0;
    std::from_chars(p + (p[1] == '+' ? 2 : 1), end, exponent);
    return decimal::makeShort(negative, digits, exponent - (count - 1));
}

// Writes the date the plain way: each token looked up in any case, one piece at a time.
QString referenceDate(const QDate& date, const QString& pattern) {
    static const char* const months[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                         "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    QString year = QString::number(qAbs(qint64(date.year()))).rightJustified(4, u'0');
    if (date.year() < 0)
        year.prepend(u'-');
    QString out;
    for (qsizetype i = 0; i < pattern.size();) {
        const QStringView rest = QStringView(pattern).mid(i);
        auto at = [&](const char* token) {
            return rest.startsWith(QLatin1String(token), Qt::CaseInsensitive);
        };
        if (at("yyyy")) {
            out += year;
            i += 4;
        } else if (at("mmm")) {
            out += QLatin1String(months[date.month() - 1]);
            i += 3;
        } else if (at("mm") || at("dd")) {
            out += QString::number(at("mm") ? date.month() : date.day()).rightJustified(2, u'0');
            i += 2;
        } else {
            out += pattern[i++];
        }
    }
    return out;
}
} // namespace

class TestTextNum : public QObject {
    Q_OBJECT

private slots:
    void isNumber_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("expected");
        QTest::newRow("exponent") << "1e5" << true;
        QTest::newRow("signed exponent") << "-2.5E-3" << true;
        QTest::newRow("blanks around") << " 12 " << true;
        QTest::newRow("trailing point") << "1." << true;
        QTest::newRow("leading point") << ".5" << true;
        QTest::newRow("plus sign") << "+3" << true;
        QTest::newRow("two points") << "1.2.3" << false;
        QTest::newRow("empty") << "" << false;
        QTest::newRow("sign only") << "-" << false;
        QTest::newRow("exponent without digits") << "1e" << false;
        QTest::newRow("inner blank") << "1 000" << false;
        QTest::newRow("currency") << "$12" << false;
        QTest::newRow("arabic-indic digits") << QString(2, QChar(0x0661)) << false;
    }
    void isNumber() {
        QFETCH(QString, text);
        QFETCH(bool, expected);
        QCOMPARE(::isNumber(text), expected);
    }

    void leadingValue_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("expected");
        QTest::newRow("item class") << "0012  P" << 12.0;
        QTest::newRow("currency first") << "$12" << 0.0;
        QTest::newRow("letters after") << "12ab" << 12.0;
        QTest::newRow("blanks between digits") << " 1 0 00" << 1000.0;
        QTest::newRow("exponent then junk") << "-3.5e2x" << -350.0;
        QTest::newRow("dangling exponent") << "7e+" << 7.0;
        QTest::newRow("leading point") << "-.5" << -0.5;
        QTest::newRow("empty") << "" << 0.0;
        QTest::newRow("saturates") << "1e999999999999999999999" << DBL_MAX;
        QTest::newRow("saturates negative") << "-1e400" << -DBL_MAX;
        QTest::newRow("underflow") << "1e-999" << 0.0;
        QTest::newRow("long digits") << QString(10000, u'9') << DBL_MAX;
    }
    void leadingValue() {
        QFETCH(QString, text);
        QFETCH(double, expected);
        QCOMPARE(::leadingValue(text), expected);
    }

    void strictReaders() {
        QCOMPARE(toDouble(" 2.5 "), std::optional<double>(2.5));
        QCOMPARE(toDouble("1e309"), std::nullopt);
        QCOMPARE(toDouble("12ab"), std::nullopt);
        QCOMPARE(toSingle("0.1"), std::optional<float>(0.1f));
        QCOMPARE(toSingle("3.5e38"), std::nullopt);
        QCOMPARE(toSingle("1e-60"), std::optional<float>(0.0f));
        QCOMPARE(toSingle(""), std::nullopt);
        // Just above the midpoint of two singles: reading through a double would land on the
        // midpoint and round to even, downwards.
        QCOMPARE(toSingle("1.0000000596046447753906250001"),
                 std::optional<float>(std::nextafter(1.0f, 2.0f)));
    }

    void toMoney_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("valid");
        QTest::addColumn<qint64>("raw");
        QTest::newRow("plain") << "12.5" << true << qint64(125000);
        QTest::newRow("half to even, up") << "1.23455" << true << qint64(12346);
        QTest::newRow("half to even, down") << "1.23445" << true << qint64(12344);
        QTest::newRow("just above half") << "1.234450000001" << true << qint64(12345);
        QTest::newRow("negative half") << "-1.23455" << true << qint64(-12346);
        QTest::newRow("half of smallest") << "0.00005" << true << qint64(0);
        QTest::newRow("exponent") << "1.5e3" << true << qint64(15000000);
        QTest::newRow("largest") << "922337203685477.5807" << true
                                 << std::numeric_limits<qint64>::max();
        QTest::newRow("smallest") << "-922337203685477.5808" << true
                                  << std::numeric_limits<qint64>::min();
        QTest::newRow("rounds past largest") << "922337203685477.58075" << false << qint64(0);
        QTest::newRow("too large") << "922337203685477.5808" << false << qint64(0);
        QTest::newRow("huge exponent") << "1e999999999999" << false << qint64(0);
        QTest::newRow("tiny") << "1e-999999999999" << true << qint64(0);
        QTest::newRow("no number") << "abc" << false << qint64(0);
    }
    void toMoney() {
        QFETCH(QString, text);
        QFETCH(bool, valid);
        QFETCH(qint64, raw);
        const auto money = ::toMoney(text);
        QCOMPARE(money.has_value(), valid);
        if (valid)
            QCOMPARE(money->raw(), raw);
    }

    void moneyFromDouble() {
        // From the shortest text: 2.675 is 2.67499999... in binary, 1.00015 is just below too.
        QCOMPARE(Money::fromDouble(2.675)->raw(), 26750);
        QCOMPARE(Money::fromDouble(1.00015)->raw(), 10002);
        QCOMPARE(Money::fromDouble(1.00005)->raw(), 10000);
        QCOMPARE(Money::fromDouble(-0.1)->raw(), -1000);
        QCOMPARE(Money::fromDouble(kNan), std::nullopt);
        QCOMPARE(Money::fromDouble(1e300), std::nullopt);
        QCOMPARE(Money::fromRaw(-125000).decimalText(), "-12.5000");
        QCOMPARE(Money::fromRaw(std::numeric_limits<qint64>::min()).decimalText(),
                 "-922337203685477.5808");
    }

    void toInt16_data() {
        QTest::addColumn<double>("value");
        QTest::addColumn<bool>("valid");
        QTest::addColumn<int>("expected");
        QTest::newRow("2.5") << 2.5 << true << 2;
        QTest::newRow("3.5") << 3.5 << true << 4;
        QTest::newRow("-2.5") << -2.5 << true << -2;
        QTest::newRow("-3.5") << -3.5 << true << -4;
        QTest::newRow("5.4") << 5.4 << true << 5;
        QTest::newRow("top") << 32767.4 << true << 32767;
        QTest::newRow("rounds past top") << 32767.5 << false << 0;
        QTest::newRow("bottom half") << -32768.5 << true << -32768;
        QTest::newRow("below bottom") << -32768.6 << false << 0;
        QTest::newRow("nan") << kNan << false << 0;
        QTest::newRow("inf") << kInf << false << 0;
    }
    void toInt16() {
        QFETCH(double, value);
        QFETCH(bool, valid);
        QFETCH(int, expected);
        const auto result = ::toInt16(value);
        QCOMPARE(result.has_value(), valid);
        if (valid)
            QCOMPARE(int(*result), expected);
    }

    void toInt16FromText() {
        QCOMPARE(::toInt16(QStringLiteral(" 2.5")), std::optional<qint16>(2));
        QCOMPARE(::toInt16(QStringLiteral("40000")), std::nullopt);
        QCOMPARE(::toInt16(QStringLiteral("x")), std::nullopt);
        QCOMPARE(wholePart(-1.5), -2.0);
        QCOMPARE(wholePart(2.9), 2.0);
    }

    void toDate_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QDate>("expected");
        const QDate march5(2001, 3, 5);
        QTest::newRow("mm/dd/yyyy") << "03/05/2001" << march5;
        QTest::newRow("month name") << "Mar 05, 2001" << march5;
        QTest::newRow("upper month") << " MAR 05, 2001 " << march5;
        QTest::newRow("iso") << "2001-03-05" << march5;
        QTest::newRow("no such day") << "02/30/2001" << QDate();
        QTest::newRow("unknown month") << "Mrz 05, 2001" << QDate();
        QTest::newRow("two-digit year") << "03/05/01" << QDate();
        QTest::newRow("missing comma") << "Mar 05 2001" << QDate();
        QTest::newRow("trailing junk") << "2001-03-05x" << QDate();
        QTest::newRow("empty") << "" << QDate();
    }
    void toDate() {
        QFETCH(QString, text);
        QFETCH(QDate, expected);
        QCOMPARE(::toDate(text).value_or(QDate()), expected);
    }

    void numberText_data() {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("expected");
        QTest::newRow("1.5") << 1.5 << " 1.5";
        QTest::newRow("negative") << -2.0 << "-2";
        QTest::newRow("zero") << 0.0 << " 0";
        QTest::newRow("negative zero") << -0.0 << " 0";
        QTest::newRow("0.1") << 0.1 << " 0.1";
        QTest::newRow("0.00001") << 0.00001 << " 1E-05";
        QTest::newRow("small negative") << -1.5e-5 << "-1.5E-05";
        QTest::newRow("15 digits") << 123456789012345.0 << " 123456789012345";
        QTest::newRow("1e15") << 1e15 << " 1E+15";
        QTest::newRow("infinite") << kInf << " 0";
    }
    void numberText() {
        QFETCH(double, value);
        QFETCH(QString, expected);
        QCOMPARE(::numberText(value), expected);
    }

    void singleText() {
        QCOMPARE(::numberText(0.1f), " 0.1");
        QCOMPARE(::numberText(1.23456f / 100), " 0.0123456");
        QCOMPARE(plainText(16777216.0f), "16777216");
        QCOMPARE(plainText(2.5), "2.5");
    }

    // Texts written here are read back by the readers, so they must give the same value.
    void textReadsBack() {
        QRandomGenerator random(20010305);
        for (int i = 0; i < 2000; ++i) {
            const double d =
                (random.generateDouble() - 0.5) * std::pow(10.0, random.bounded(-30, 30));
            QCOMPARE(::leadingValue(::numberText(d)), d);
            const float f = float(d);
            QCOMPARE(toSingle(::numberText(f)), std::optional<float>(f));
        }
    }

    void format_data() {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<QString>("expected");
        QTest::newRow("half cent up") << 0.125 << "$0.00"
                                      << "$0.13";
        QTest::newRow("binary below half") << 2.675 << "$0.00"
                                           << "$2.68";
        QTest::newRow("1.005") << 1.005 << "0.00"
                               << "1.01";
        QTest::newRow("carry") << 9.995 << "$0.00"
                               << "$10.00";
        QTest::newRow("money") << 63.75 << "$0.00"
                               << "$63.75";
        QTest::newRow("mark-up") << 1.5 / 100 << "0.0000%"
                                 << "1.5000%";
        QTest::newRow("mark-up sort") << 1.5 / 100 << "000.0000%"
                                      << "001.5000%";
        QTest::newRow("tax") << 8.25 / 100 << "0.000 %"
                             << "8.250 %";
        QTest::newRow("record number") << 37.0 << "0000"
                                       << "0037";
        QTest::newRow("wider than slots") << 10000.0 << "0000"
                                          << "10000";
        QTest::newRow("quantity") << 5.0 << "00"
                                  << "05";
        QTest::newRow("whole half up") << 2.5 << "0"
                                       << "3";
        QTest::newRow("hours") << 1.5 << "0.00 Hr"
                               << "1.50 Hr";
        QTest::newRow("days") << 7.5 << "0.00 Days"
                              << "7.50 Days";
        QTest::newRow("delivery") << 4.0 << "0.00 days delivery"
                                  << "4.00 days delivery";
        QTest::newRow("literal tail") << 12.0 << "0000:        "
                                      << "0012:        ";
        QTest::newRow("minus in front") << -5.0 << "$0.00"
                                        << "-$5.00";
        QTest::newRow("rounds to zero") << -0.001 << "$0.00"
                                        << "$0.00";
        QTest::newRow("negative zero") << -0.0 << "$0.00"
                                       << "$0.00";
        QTest::newRow("no whole slot") << 0.5 << ".00"
                                       << ".50";
        QTest::newRow("no whole slot, whole part") << 12.5 << ".00"
                                                   << "12.50";
        QTest::newRow("large") << 1e20 << "0"
                               << "100000000000000000000";
        QTest::newRow("smallest double") << 5e-324 << "0.00"
                                         << "0.00";
        QTest::newRow("nan") << kNan << "$0.00"
                             << "$0.00";
        QTest::newRow("no pattern") << 1.5 << ""
                                    << "1.5";
    }
    void format() {
        QFETCH(double, value);
        QFETCH(QString, pattern);
        QFETCH(QString, expected);
        QCOMPARE(::format(value, pattern), expected);
    }

    void formatOtherTypes() {
        QCOMPARE(::format(1.23456f / 100, "0.0000%"), "1.2346%");
        QCOMPARE(::format(0.1f, "0.000000000"), "0.100000000");
        QCOMPARE(::format(Money::fromRaw(1250), "$0.00"), "$0.13");
        QCOMPARE(::format(Money::fromRaw(-50000), "$0.00"), "-$5.00");
        QCOMPARE(::format(Money::fromRaw(std::numeric_limits<qint64>::min()), "0"),
                 "-922337203685478");
        QCOMPARE(::format(37, "0000"), "0037");
        QCOMPARE(::format(std::numeric_limits<qint64>::min(), "0"), "-9223372036854775808");
        QCOMPARE(::format(DBL_MAX, "$0.00").size(), 1 + 309 + 3);
    }

    // Sort forms right-align an amount from its plain text length plus the characters that
    // two-decimal writing adds; that only works if the two agree.
    void twoDecimalLength_data() {
        QTest::addColumn<double>("value");
        for (const double v : {12.5, 12.0, 10.0, 0.5, 0.05, 0.1, 100.0, 1234.56, 99999.99})
            QTest::newRow(qPrintable(plainText(v))) << v;
    }
    void twoDecimalLength() {
        QFETCH(double, value);
        const QString money = ::format(value, "$0.00");
        const int added = money.endsWith(u"00") ? 3 : money.endsWith(u'0') ? 1 : 0;
        QCOMPARE(plainText(value).size() + added, money.size() - 1);
    }

    void formatDate_data() {
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<QString>("expected");
        QTest::newRow("part editor") << "mm/dd/yyyy"
                                     << "03/05/2001";
        QTest::newRow("invoice") << "mmm dd, yyyy"
                                 << "Mar 05, 2001";
        QTest::newRow("upper tokens") << "MMM DD, YYYY"
                                      << "Mar 05, 2001";
        QTest::newRow("invoice list") << "dd/mm/yyyy            "
                                      << "05/03/2001            ";
    }
    void formatDate() {
        QFETCH(QString, pattern);
        QFETCH(QString, expected);
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        QCOMPARE(::formatDate(QDate(2001, 3, 5), pattern), expected);
        QLocale::setDefault(QLocale::c());
    }

    void dateRoundTrip() {
        for (int month = 1; month <= 12; ++month) {
            const QDate date(1999, month, 28);
            QCOMPARE(::toDate(::formatDate(date, "mmm dd, yyyy")), std::optional<QDate>(date));
            QCOMPARE(::toDate(::formatDate(date, "mm/dd/yyyy")), std::optional<QDate>(date));
        }
        QCOMPARE(::formatDate(QDate(), "mm/dd/yyyy"), QString());
        QCOMPARE(baseDate().addDays(2), QDate(1900, 1, 1));
    }

    // The quick writers against the exact decimal path they bypass: the same text for every
    // pattern, from prices, rounding halves, every magnitude and the extremes.
    void writersMatchExact_data() {
        QTest::addColumn<int>("family");
        QTest::newRow("cents") << 0;
        QTest::newRow("halves") << 1;
        QTest::newRow("any magnitude") << 2;
        QTest::newRow("extremes") << 3;
    }
    void writersMatchExact() {
        QFETCH(int, family);
        QRandomGenerator random(quint32(1999 + family));
        const QStringList patterns = kPatterns + randomPatterns(random, 20);
        std::vector<double> values;
        for (int i = 0; i < 1500; ++i) {
            const double sign = random.bounded(2) ? -1.0 : 1.0;
            if (family == 0)
                values.push_back(sign * double(random.bounded(100000000)) / 100.0);
            else if (family == 1)
                values.push_back(sign * double(2 * random.bounded(1000000) + 1) /
                                 std::pow(10.0, random.bounded(1, 8)) / 2.0);
            else if (family == 2)
                values.push_back(sign * random.generateDouble() *
                                 std::pow(10.0, random.bounded(-30, 30)));
        }
        if (family == 3)
            // clang-format off
            values = {0.0, -0.0, kNan, kInf, -kInf, DBL_MAX, -DBL_MAX, 5e-324, DBL_MIN, 1e19,
                      -1e19, 1.8446744073709552e19, 9.999999999999998e17, 0.5, -0.5, 0.05,
                      9.5, 99.995, 1e-20, 4.9999e-20, 5e-21, 1234567890123456789.0};
        // clang-format on
        for (const double v : values) {
            const float f = float(v);
            for (const QString& pattern : patterns) {
                const QString want = decimal::formatDecimal(exactOf(v), pattern);
                if (::format(v, pattern) != want)
                    QFAIL(qPrintable(QString("%1 as \"%2\": %3, not %4")
                                         .arg(v, 0, 'g', 17)
                                         .arg(pattern, ::format(v, pattern), want)));
                const QString wantSingle = decimal::formatDecimal(exactOf(f), pattern);
                if (::format(f, pattern) != wantSingle)
                    QFAIL(qPrintable(QString("single %1 as \"%2\": %3, not %4")
                                         .arg(double(f), 0, 'g', 9)
                                         .arg(pattern, ::format(f, pattern), wantSingle)));
            }
            QCOMPARE(plainText(v), decimal::plainDecimal(exactOf(v)));
            QCOMPARE(plainText(f), decimal::plainDecimal(exactOf(f)));
            QCOMPARE(::numberText(f).trimmed(), plainText(f));
            const auto money = Money::fromDouble(v);
            const auto wantMoney =
                std::isfinite(v) ? decimal::moneyOf(exactOf(v)) : std::optional<Money>();
            if (money != wantMoney)
                QFAIL(qPrintable(QString("money of %1").arg(v, 0, 'g', 17)));
        }
    }

    // Singles typed with a few decimals take a quick route to their shortest text; it must give
    // the standard library's text for them and for the singles around them.
    void shortestSingles() {
        std::vector<float> values;
        for (int k = 0; k <= 1000000; ++k) {
            values.push_back(float(k) / 100.0f);   // hours and amounts to the cent
            values.push_back(float(k) / 10000.0f); // factors to four decimals
        }
        for (int power = -20; power <= 22; ++power) {
            const float base = std::ldexp(1.0f, power);
            float below = base;
            float above = base;
            for (int step = 0; step < 64; ++step) {
                values.push_back(below = std::nextafter(below, 0.0f));
                values.push_back(above = std::nextafter(above, FLT_MAX));
            }
        }
        QRandomGenerator random(314159);
        for (int i = 0; i < 1000000; ++i) {
            const auto bits = random.bounded(0x35000000u, 0x4A000000u); // about 5e-7 to 2e6
            values.push_back(std::bit_cast<float>(bits));
        }
        for (const float v : values) {
            for (const float f : {v, -v}) {
                const decimal::Short got = decimal::shortOf(f);
                const decimal::Short want = referenceShort(f);
                if (got.negative != want.negative || got.digits != want.digits ||
                    got.exponent != want.exponent)
                    QFAIL(qPrintable(QString("%1: %2e%3, not %4e%5")
                                         .arg(double(f), 0, 'g', 9)
                                         .arg(got.digits)
                                         .arg(got.exponent)
                                         .arg(want.digits)
                                         .arg(want.exponent)));
            }
        }
    }

    // Cents written for many lines at once, as the pattern writer writes them.
    void centsMoneyText() {
        QRandomGenerator random(2718);
        std::vector<qint64> cents = {0, 1, -1, 5, -5, 99, -99, 100, -100, 123456789,
                                     std::numeric_limits<qint64>::min(),
                                     std::numeric_limits<qint64>::max()};
        for (int i = 0; i < 2000; ++i) {
            cents.push_back(qint64(random.generate64()));
            cents.push_back(qint64(random.bounded(2000000)) - 1000000);
        }
        for (const qint64 c : cents) {
            const QString want = decimal::formatDecimal(
                decimal::toDecimal(decimal::shortOf(c, -2)), QStringLiteral("$0.00"));
            QCOMPARE(::centsMoneyText(c), want);
        }
    }

    // Amounts and whole numbers over the full 64-bit range and around the rounding points.
    void wholeWritersMatchExact() {
        QRandomGenerator random(1234);
        const QStringList patterns = kPatterns + randomPatterns(random, 20);
        // clang-format off
        std::vector<qint64> values = {0, 1, -1, 5, -5, 49, 50, 4999, 5000, -5000, 49999, 50000,
                                      std::numeric_limits<qint64>::min(),
                                      std::numeric_limits<qint64>::max()};
        // clang-format on
        for (int i = 0; i < 1500; ++i) {
            values.push_back(qint64(random.generate64()));
            values.push_back(qint64(random.bounded(2000000000)) - 1000000000);
        }
        for (const qint64 v : values) {
            for (const QString& pattern : patterns) {
                QCOMPARE(::format(v, pattern), decimal::formatDecimal(exactOf(v), pattern));
                const Money money = Money::fromRaw(v);
                QCOMPARE(::format(money, pattern), decimal::formatDecimal(exactOf(money), pattern));
            }
        }
    }

    // The quick readers against the exact ones: the same bits (a single read from the text,
    // never through a double) and the same amount, around the quick route's limits too.
    void readersMatchExact() {
        QRandomGenerator random(20240607);
        auto digits = [&](int most) {
            QString text;
            for (int n = random.bounded(most + 1); n > 0; --n)
                text += QChar(u'0' + random.bounded(10));
            return text;
        };
        const QStringList signs = {"", "", "-", "+", " ", "\t-"};
        const QStringList tails = {"",  "",  "",    " ",  "e5",  "E-3",
                                   "x", ".", "  P", " 5", " .5", " e2"};
        QStringList texts = {"0",
                             "-0",
                             "-0.000",
                             "+.5",
                             "1.",
                             ".",
                             "-",
                             "",
                             " ",
                             "1e400",
                             "3.4028235677973366e38",
                             "340282356779733661637539395458142568448",
                             "0.000000000000000000000000000000000000001"};
        for (int i = 0; i < 20000; ++i) {
            QString text = signs[random.bounded(int(signs.size()))];
            if (random.bounded(3))
                text += QString(random.bounded(4), u'0');
            text += digits(22);
            if (random.bounded(2))
                text += u'.' + digits(24);
            texts << text + tails[random.bounded(int(tails.size()))];
            const double v =
                (random.generateDouble() - 0.5) * std::pow(10.0, random.bounded(-8, 12));
            texts << plainText(float(v)) << plainText(v);
        }
        for (const QString& text : texts) {
            const auto exact = decimal::parseStrict(text);
            const auto wantSingle = exact ? decimal::toFloating<float>(*exact) : std::nullopt;
            const auto wantDouble = exact ? decimal::toFloating<double>(*exact) : std::nullopt;
            const auto wantMoney = exact ? decimal::moneyOf(*exact) : std::nullopt;
            QVERIFY2(sameBits(toSingle(text), wantSingle), qPrintable(text));
            QVERIFY2(sameBits(toDouble(text), wantDouble), qPrintable(text));
            QVERIFY2(::toMoney(text) == wantMoney, qPrintable(text));
            const decimal::Scan scan = decimal::scanNumber(text, true);
            const auto leading = scan.hasDigits ? decimal::toFloating<double>(scan.value)
                                                : std::optional<double>(0.0);
            const double wantLeading = leading.value_or(scan.value.negative ? -DBL_MAX : DBL_MAX);
            QVERIFY2(sameBits(std::optional(::leadingValue(text)), std::optional(wantLeading)),
                     qPrintable(text));
        }
    }

    // Written straight into the text, dates must still read as the plain way gives them:
    // every pattern of the windows and random ones of tokens in any case and other letters,
    // for years before 1000, after 9999 and before year 1.
    void formatDateMatchesReference() {
        QRandomGenerator random(42);
        QStringList patterns = {
            "mm/dd/yyyy", "mmm dd, yyyy", "MMM DD, YYYY", "dd/mm/yyyy", "dd/mm/yyyy            ",
            "",           "yyy",          "mMm",          "yyyyy"};
        const QString alphabet = QStringLiteral("yYmMdD/ ,-\u017f\u212a");
        for (int i = 0; i < 200; ++i) {
            QString pattern;
            for (int n = random.bounded(16); n > 0; --n)
                pattern += alphabet[random.bounded(int(alphabet.size()))];
            patterns << pattern;
        }
        std::vector<QDate> dates = {QDate(1, 1, 1),   QDate(-1, 12, 31),    QDate(-12345, 6, 7),
                                    QDate(999, 9, 9), QDate(10000, 10, 10), QDate(1234567, 2, 3)};
        for (int i = 0; i < 300; ++i)
            dates.push_back(QDate(1800, 1, 1).addDays(random.bounded(120000)));
        for (const QDate& date : dates) {
            for (const QString& pattern : patterns)
                QCOMPARE(::formatDate(date, pattern), referenceDate(date, pattern));
        }
    }

    // Hostile texts must give an answer, never a crash or an infinity.
    void hostileInput_data() {
        QTest::addColumn<QString>("text");
        QTest::newRow("long digits") << QString(10000, u'7');
        QTest::newRow("long fraction") << "0." + QString(10000, u'0') + "1";
        QTest::newRow("huge exponent") << "9e99999999999999999999999999";
        QTest::newRow("lone surrogate") << QString(QChar(0xD800));
        QTest::newRow("nul") << QString(3, QChar(0));
        QTest::newRow("greek") << QStringLiteral("\u03b1\u03b2 12");
        QTest::newRow("signs") << "+-+-1";
    }
    void hostileInput() {
        QFETCH(QString, text);
        QVERIFY(std::isfinite(::leadingValue(text)));
        if (const auto d = toDouble(text))
            QVERIFY(std::isfinite(*d));
        if (const auto f = toSingle(text))
            QVERIFY(std::isfinite(*f));
        ::toMoney(text);
        ::toInt16(text);
        QVERIFY(!::toDate(text));
        QVERIFY(!::format(1.5, text).isEmpty());
        ::formatDate(QDate(2001, 3, 5), text);
    }
};

QTEST_GUILESS_MAIN(TestTextNum)
#include "tst_textnum.moc"
