#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace campanor::fuzz {

inline QByteArray bytesOf(const uint8_t* data, size_t size) {
    return QByteArray(reinterpret_cast<const char*>(data), qsizetype(size));
}

// A broken promise of the code under test: libFuzzer keeps the input.
inline void require(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "broken: %s\n", what);
        std::abort();
    }
}

// Takes bytes off the front of the input for the parameters of one run.
class Reader {
  public:
    Reader(const uint8_t* data, size_t size) : data_(data), size_(size) {}
    uint8_t byte() {
        if (size_ == 0)
            return 0;
        --size_;
        return *data_++;
    }
    QByteArray rest() const { return bytesOf(data_, size_); }

  private:
    const uint8_t* data_;
    size_t size_;
};

} // namespace campanor::fuzz
