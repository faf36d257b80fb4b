#pragma once

// Picture files for the loader's tests: small valid files of every format the program opens,
// written by Qt (the GIF, which Qt cannot write, built by hand), and headers that declare
// pictures far larger than anything that can be held.

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QImageWriter>
#include <QtEndian>

namespace HostilePictures {

inline QImage gradient(int width, int height) {
    QImage picture(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            picture.setPixel(x, y, qRgb(x * 255 / width, y * 255 / height, (x * y) & 255));
    return picture;
}

// A 16 x 12 picture in the format; the GIF is 2 x 2.
inline QByteArray validFile(const QByteArray& format) {
    if (format == "gif")
        return QByteArray::fromHex("47494638396102000200810000000000ffffffff000000ff00"
                                   "2c0000000002000200000203443405003b");
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    writer.write(gradient(16, 12));
    return bytes;
}

// The CRC-32 of PNG chunks (the reflected 0xEDB88320 polynomial), bit by bit.
inline quint32 crc32Of(const QByteArray& bytes) {
    quint32 crc = 0xFFFFFFFFu;
    for (const char byte : bytes) {
        crc ^= static_cast<quint8>(byte);
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ ((crc & 1u) ? 0xEDB88320u : 0u);
    }
    return crc ^ 0xFFFFFFFFu;
}

inline QByteArray pngChunk(const char* type, const QByteArray& data) {
    QByteArray chunk(4, '\0');
    qToBigEndian<quint32>(static_cast<quint32>(data.size()), chunk.data());
    const QByteArray body = QByteArray(type) + data;
    chunk += body;
    QByteArray crc(4, '\0');
    qToBigEndian<quint32>(crc32Of(body), crc.data());
    return chunk + crc;
}

// A PNG whose header declares width x height (8-bit RGB) followed by a little compressed data.
inline QByteArray pngDeclaring(quint32 width, quint32 height) {
    QByteArray header(13, '\0');
    qToBigEndian<quint32>(width, header.data());
    qToBigEndian<quint32>(height, header.data() + 4);
    header[8] = 8;                                                     // bits per channel
    header[9] = 2;                                                     // RGB
    const QByteArray idat = QByteArray::fromHex("789c63000000010001"); // one zero byte
    return QByteArray::fromHex("89504e470d0a1a0a") + pngChunk("IHDR", header) +
           pngChunk("IDAT", idat) + pngChunk("IEND", QByteArray());
}

// A 24-bit BMP whose header declares width x height, with only a few bytes of pixels.
inline QByteArray bmpDeclaring(qint32 width, qint32 height) {
    QByteArray bytes(54, '\0');
    char* p = bytes.data();
    p[0] = 'B';
    p[1] = 'M';
    qToLittleEndian<quint32>(54 + 16, p + 2);
    qToLittleEndian<quint32>(54, p + 10);
    qToLittleEndian<quint32>(40, p + 14);
    qToLittleEndian<qint32>(width, p + 18);
    qToLittleEndian<qint32>(height, p + 22);
    qToLittleEndian<quint16>(1, p + 26);
    qToLittleEndian<quint16>(24, p + 28);
    return bytes + QByteArray(16, '\x7f');
}

// A GIF with a logical screen of screenWidth x screenHeight (0: none) and a first frame of
// frameWidth x frameHeight at the origin. The image data draws four pixels and ends; extra bytes
// of data after its end are ignored by the reader.
inline QByteArray gifDeclaring(int screenWidth, int screenHeight, int frameWidth, int frameHeight,
                               int extraData = 0) {
    const auto le16 = [](int value) {
        QByteArray bytes(2, '\0');
        qToLittleEndian<quint16>(static_cast<quint16>(value), bytes.data());
        return bytes;
    };
    QByteArray gif("GIF89a");
    gif += le16(screenWidth) + le16(screenHeight);
    gif += QByteArray::fromHex("800000"); // a global colour table of two colours
    gif += QByteArray::fromHex("000000ffffff");
    gif += ',' + le16(0) + le16(0) + le16(frameWidth) + le16(frameHeight) + '\0';
    gif += QByteArray::fromHex("02"); // the minimum code size
    const QByteArray data = QByteArray::fromHex("443405") + QByteArray(extraData, '\0');
    for (qsizetype at = 0; at < data.size(); at += 255) {
        const QByteArray block = data.mid(at, 255);
        gif += static_cast<char>(block.size()) + block;
    }
    return gif + QByteArray::fromHex("003b");
}

} // namespace HostilePictures
