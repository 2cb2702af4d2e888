#include "ui/PngHeader.h"

#include <QFile>

#include <array>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace z417 {
namespace {

// The signature, then the first chunk: its length (13), "IHDR", width and height.
constexpr unsigned char kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
constexpr size_t kHeaderBytes = 24;

quint32 bigEndian32(const unsigned char* p) {
    return (quint32(p[0]) << 24) | (quint32(p[1]) << 16) | (quint32(p[2]) << 8) | quint32(p[3]);
}

// Reads the first bytes of a regular file. Opening without blocking keeps a FIFO from
// waiting for a writer; it is refused by the check after the open.
bool readHead(const std::string& path, std::array<unsigned char, kHeaderBytes>& head) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct stat st {};
    size_t got = 0;
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode)) {
        while (got < head.size()) {
            const ssize_t n = ::read(fd, head.data() + got, head.size() - got);
            if (n <= 0)
                break;
            got += static_cast<size_t>(n);
        }
    }
    ::close(fd);
    return got == head.size();
}

} // namespace

std::optional<QSize> pngSize(const std::string& path) {
    std::array<unsigned char, kHeaderBytes> head{};
    if (!readHead(path, head))
        return std::nullopt;
    return pngSizeOf(reinterpret_cast<const char*>(head.data()), head.size());
}

std::optional<QSize> pngSize(const QString& path) {
    return pngSize(QFile::encodeName(path).toStdString());
}

std::optional<QSize> pngSizeOf(const char* data, size_t size) {
    if (size < kHeaderBytes)
        return std::nullopt;
    const auto* head = reinterpret_cast<const unsigned char*>(data);
    if (std::memcmp(head, kSignature, sizeof kSignature) != 0 || bigEndian32(head + 8) != 13 ||
        std::memcmp(head + 12, "IHDR", 4) != 0)
        return std::nullopt;
    const quint32 width = bigEndian32(head + 16);
    const quint32 height = bigEndian32(head + 20);
    if (width == 0 || height == 0 || width > kMaxSkinPixels || height > kMaxSkinPixels ||
        qint64(width) * qint64(height) > kMaxSkinPixels)
        return std::nullopt;
    return QSize(static_cast<int>(width), static_cast<int>(height));
}

} // namespace z417
