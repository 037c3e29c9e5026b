#pragma once

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

// A broken rule found by a fuzz target: reported with the rule's text, then the process aborts
// so that libFuzzer keeps the input that broke it.
#define FUZZ_CHECK(condition, detail)                                                              \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            std::fprintf(stderr, "%s:%d: %s broken: %s\n", __FILE__, __LINE__, #condition,         \
                         qPrintable(QString(detail)));                                             \
            std::abort();                                                                          \
        }                                                                                          \
    } while (false)

// Reads fixed-size values off the front of the fuzzer's bytes; what is left is the rest.
class FuzzInput {
public:
    FuzzInput(const uint8_t* data, size_t size)
        : data_(reinterpret_cast<const char*>(data)), size_(size) {}

    template <typename T> T take() {
        T value{};
        const size_t n = size_ < sizeof value ? size_ : sizeof value;
        std::memcpy(&value, data_, n);
        data_ += n;
        size_ -= n;
        return value;
    }
    QByteArray rest() const { return QByteArray(data_, qsizetype(size_)); }
    // The rest as UTF-8 (broken sequences become replacement characters) or as Latin-1 (every
    // byte a character), so both the whole of Unicode and every byte value are reached.
    QString restUtf8() const { return QString::fromUtf8(data_, qsizetype(size_)); }
    QString restLatin1() const { return QString::fromLatin1(data_, qsizetype(size_)); }

private:
    const char* data_;
    size_t size_;
};
