#include "platform/Cp932.h"

#include <QList>
#include <QStringDecoder>
#include <QStringEncoder>

#include <optional>

static const char* const codecName = "windows-31j";

// JIS-style characters that code page 932 holds under another code point.
static QChar toCp932Form(QChar c) {
    switch (c.unicode()) {
    case 0x301C:
        return QChar(0xFF5E);
    case 0x2212:
        return QChar(0xFF0D);
    case 0x2016:
        return QChar(0x2225);
    case 0x00AC:
        return QChar(0xFFE2);
    case 0x2014:
        return QChar(0x2015);
    case 0x00A2:
        return QChar(0xFFE0);
    case 0x00A3:
        return QChar(0xFFE1);
    // ICU's table rotates three control codes (see fromIcuControl); hand it the ones it expects.
    case 0x001A:
        return QChar(0x001C);
    case 0x001C:
        return QChar(0x007F);
    case 0x007F:
        return QChar(0x001A);
    default:
        return c;
    }
}

// One converter per thread, reused while it has met no error: opening ICU's converter costs
// more than converting a character, and palette ranges convert thousands of single characters.
// A converter that has met one is replaced, since resetting it does not clear its error.
template <typename Converter>
static Converter& threadConverter() {
    thread_local std::optional<Converter> converter;
    if (!converter || converter->hasError())
        converter.emplace(codecName, QStringConverter::Flag::Stateless);
    else
        converter->resetState();
    return *converter;
}

static bool encodeOne(QStringView piece, QByteArray& out) {
    QStringEncoder& encoder = threadConverter<QStringEncoder>();
    out = encoder.encode(piece);
    return !encoder.hasError();
}

Cp932::Encoded Cp932::encode(const QString& text) {
    QString mapped = text;
    for (QChar& c : mapped)
        c = toCp932Form(c);
    Encoded result;
    if (encodeOne(mapped, result.bytes))
        return result;
    // Find the offending characters one code point at a time; the rest still encodes.
    result.bytes.clear();
    qsizetype i = 0;
    while (i < mapped.size()) {
        const qsizetype len = (mapped[i].isHighSurrogate() && i + 1 < mapped.size()) ? 2 : 1;
        const QStringView piece = QStringView(mapped).mid(i, len);
        QByteArray bytes;
        if (encodeOne(piece, bytes)) {
            result.bytes += bytes;
        } else {
            if (!result.unencodable.contains(piece))
                result.unencodable += piece;
            result.bytes += '?';
        }
        i += len;
    }
    return result;
}

// ICU's "windows-31j" decodes the bytes 0x1A, 0x1C and 0x7F as U+001C, U+007F and U+001A (an
// IBM control-code rotation); Windows maps them to themselves, and 0x1A is the end-of-file mark.
static void fromIcuControl(QString& text) {
    for (QChar& c : text) {
        if (c.unicode() == 0x001C)
            c = QChar(0x001A);
        else if (c.unicode() == 0x007F)
            c = QChar(0x001C);
        else if (c.unicode() == 0x001A)
            c = QChar(0x007F);
    }
}

Cp932::Decoded Cp932::decode(const QByteArray& bytes) {
    QStringDecoder& decoder = threadConverter<QStringDecoder>();
    Decoded result;
    result.text = decoder.decode(bytes);
    result.ok = !decoder.hasError();
    // An invalid byte also decodes to U+001A; with an error the text is only a best effort.
    if (result.ok)
        fromIcuControl(result.text);
    return result;
}

std::optional<QString> Cp932::characterOfCode(int code) {
    QByteArray bytes;
    if (code >= 0 && code <= 0xFF) {
        bytes.append(static_cast<char>(code));
    } else if (code > 0xFF && code <= 0xFFFF) {
        if (code >= 0xF040 && code <= 0xF9FC)
            return std::nullopt;
        bytes.append(static_cast<char>(code >> 8));
        bytes.append(static_cast<char>(code & 0xFF));
    } else {
        return std::nullopt;
    }
    const Decoded decoded = decode(bytes);
    if (!decoded.ok || decoded.text.isEmpty())
        return std::nullopt;
    const QList<uint> ucs4 = decoded.text.toUcs4();
    const uint first = ucs4.value(0);
    if (ucs4.size() != 1 || first == 0xFFFD || first == 0x1A ||
        (first >= 0xE000 && first <= 0xF8FF))
        return std::nullopt;
    return decoded.text;
}

std::optional<int> Cp932::codeOf(const QString& character) {
    if (character.isEmpty())
        return std::nullopt;
    const Encoded encoded = encode(character);
    if (!encoded.ok() || encoded.bytes.isEmpty() || encoded.bytes.size() > 2)
        return std::nullopt;
    const int lead = static_cast<unsigned char>(encoded.bytes[0]);
    if (encoded.bytes.size() == 1)
        return lead;
    return lead * 256 + static_cast<unsigned char>(encoded.bytes[1]);
}

bool Cp932::isLeadByte(int byte) {
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}
