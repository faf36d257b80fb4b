#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// Code page 932 (Shift-JIS as Windows writes it), the encoding of text files, the settings file
// and palette ranges. Qt's ICU converter "windows-31j" does the work; this class adds what Qt
// 6.4 leaves out: characters that cannot be encoded are reported instead of silently becoming
// FC FC, and the JIS-style look-alikes are mapped to their code page 932 forms first.
class Cp932 {
public:
    struct Encoded {
        QByteArray bytes;
        // The characters that code page 932 cannot hold, in order of first appearance.
        QString unencodable;
        bool ok() const { return unencodable.isEmpty(); }
    };

    struct Decoded {
        QString text;
        // False when a byte sequence was invalid or unassigned (it shows as a replacement).
        bool ok = true;
    };

    static Encoded encode(const QString& text);
    static Decoded decode(const QByteArray& bytes);

    // The character that one code (a byte, or lead byte * 256 + trail byte) stands for; nothing
    // when the code is not an assigned character or lies in the user-defined area.
    static std::optional<QString> characterOfCode(int code);

    // The code of one character (a byte, or lead * 256 + trail); nothing when it has none.
    static std::optional<int> codeOf(const QString& character);

    // A code is double-byte when its lead byte is 0x81-0x9F or 0xE0-0xFC.
    static bool isLeadByte(int byte);
};
