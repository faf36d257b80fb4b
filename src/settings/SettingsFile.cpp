#include "settings/SettingsFile.h"

#include "platform/Cp932.h"
#include "platform/Numbers.h"
#include "platform/SafeFileWriter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <optional>

namespace SettingsFile {

namespace {

const QString crlf = QStringLiteral("\r\n");

// A settings file is a few hundred bytes; anything this large is not one, and reading it whole
// could exhaust memory.
constexpr qint64 largestFile = 16 * 1024 * 1024;

QString flagText(bool value) {
    return value ? QStringLiteral("True") : QStringLiteral("False");
}

void appendLine(QString& text, const QString& line) {
    text += line;
    text += crlf;
}

void appendPlacement(QString& text, const QString& header, const WindowPlacement& p) {
    appendLine(text, header);
    appendLine(text, QStringLiteral("Top=") + QString::number(p.Top));
    appendLine(text, QStringLiteral("Left=") + QString::number(p.Left));
    appendLine(text, QStringLiteral("Width=") + QString::number(p.Width));
    appendLine(text, QStringLiteral("Height=") + QString::number(p.Height));
    appendLine(text, QStringLiteral("State=") + QString::number(p.State));
}

QString fileText(const SettingsRecord& r) {
    QString text;
    appendLine(text, QStringLiteral("[Settings]"));
    appendLine(text, QStringLiteral("ConvMode=") + QString::number(r.ConvMode));
    appendLine(text, QStringLiteral("TextLines=") + QString::number(r.TextLines));
    appendLine(text, QStringLiteral("LineSpace=") + Numbers::formatDouble(r.LineSpace));
    appendLine(text, QStringLiteral("RvFlg=") + flagText(r.RvFlg));
    appendLine(text, QStringLiteral("TextTable1=") + r.TextTable1);
    appendLine(text, QStringLiteral("TextTable2=") + r.TextTable2);
    appendLine(text, QStringLiteral("Low=") + QString::number(r.Low));
    appendLine(text, QStringLiteral("High=") + QString::number(r.High));
    appendLine(text, QStringLiteral("LsConv=") + QString::number(r.LsConv));
    appendLine(text, QStringLiteral("NitiGosa=") + Numbers::formatDouble(r.NitiGosa));
    appendLine(text, QStringLiteral("FontName=") + r.FontName);
    appendLine(text, QStringLiteral("FontSize=") + Numbers::formatDouble(r.FontSize));
    appendLine(text, QStringLiteral("FontItalic=") + flagText(r.FontItalic));
    appendLine(text, QStringLiteral("FontBold=") + flagText(r.FontBold));
    appendLine(text, QStringLiteral("FontStrikethrough=") + flagText(r.FontStrikethrough));
    appendLine(text, QStringLiteral("FontUnderline=") + flagText(r.FontUnderline));
    appendLine(text, QStringLiteral("ForeColor=") + QString::number(r.ForeColor));
    appendLine(text, QStringLiteral("BackColor=") + QString::number(r.BackColor));
    appendLine(text, QString());
    appendPlacement(text, QStringLiteral("[MainWindow]"), r.MainWindow);
    appendLine(text, QString());
    appendPlacement(text, QStringLiteral("[TextWindow]"), r.TextWindow);
    return text;
}

// A text value survives a write and a read when code page 932 holds all its characters and it
// does not contain a line end of the file.
bool storable(const QString& value) {
    return !value.contains(crlf) && Cp932::encode(value).ok();
}

// The fields whose values the user types or picks freely.
struct TextField {
    QStringView key;
    QString SettingsRecord::*member;
};
const TextField textFields[] = {
    {u"TextTable1", &SettingsRecord::TextTable1},
    {u"TextTable2", &SettingsRecord::TextTable2},
    {u"FontName", &SettingsRecord::FontName},
};

// Letter case of ASCII only: the keys are ASCII, and no other character may stand in for one.
bool startsWithKey(const QString& line, QStringView key) {
    if (line.size() < key.size())
        return false;
    for (qsizetype i = 0; i < key.size(); ++i) {
        char16_t a = line[i].unicode();
        char16_t b = key[i].unicode();
        if (a >= u'A' && a <= u'Z')
            a = static_cast<char16_t>(a + (u'a' - u'A'));
        if (b >= u'A' && b <= u'Z')
            b = static_cast<char16_t>(b + (u'a' - u'A'));
        if (a != b)
            return false;
    }
    return true;
}

std::optional<bool> parseFlag(const QString& text) {
    const QString word = text.trimmed();
    if (startsWithKey(word, u"true") && word.size() == 4)
        return true;
    if (startsWithKey(word, u"false") && word.size() == 5)
        return false;
    if (const std::optional<double> number = Numbers::parseNumeric(text))
        return *number != 0;
    return std::nullopt;
}

// Each setter stores a value that fits its field; a value that does not fit leaves the field as
// it was, so a bad line never costs more than its own value and start-up never fails on it.
template <typename Target>
using Setter = void (*)(Target&, const QString&);

template <typename Field>
void setIfFits(Field& field, const std::optional<Field>& value) {
    if (value)
        field = *value;
}

void setInt16(qint16& field, const QString& text) {
    setIfFits(field, Numbers::parseInt16(text));
}

void setInt32(qint32& field, const QString& text) {
    setIfFits(field, Numbers::parseInt32(text));
}

// ConvMode and LsConv are indices of two option buttons; no other value can be shown or used.
void setOptionIndex(qint16& field, const QString& text) {
    const std::optional<qint16> value = Numbers::parseInt16(text);
    if (value && (*value == 0 || *value == 1))
        field = *value;
}

void setDouble(double& field, const QString& text) {
    setIfFits(field, Numbers::parseNumeric(text));
}

void setFlag(bool& field, const QString& text) {
    setIfFits(field, parseFlag(text));
}

template <typename Target>
struct Key {
    QStringView text;
    Setter<Target> set;
};

// In the order they are tested.
const Key<SettingsRecord> settingsKeys[] = {
    {u"ConvMode=", [](SettingsRecord& r, const QString& v) { setOptionIndex(r.ConvMode, v); }},
    {u"TextLines=", [](SettingsRecord& r, const QString& v) { setInt16(r.TextLines, v); }},
    {u"LineSpace=", [](SettingsRecord& r, const QString& v) { setDouble(r.LineSpace, v); }},
    {u"RvFlg=", [](SettingsRecord& r, const QString& v) { setFlag(r.RvFlg, v); }},
    {u"TextTable1=", [](SettingsRecord& r, const QString& v) { r.TextTable1 = v; }},
    {u"TextTable2=", [](SettingsRecord& r, const QString& v) { r.TextTable2 = v; }},
    {u"Low=", [](SettingsRecord& r, const QString& v) { setInt16(r.Low, v); }},
    {u"High=", [](SettingsRecord& r, const QString& v) { setInt16(r.High, v); }},
    {u"LsConv=", [](SettingsRecord& r, const QString& v) { setOptionIndex(r.LsConv, v); }},
    {u"NitiGosa=", [](SettingsRecord& r, const QString& v) { setDouble(r.NitiGosa, v); }},
    {u"FontName=", [](SettingsRecord& r, const QString& v) { r.FontName = v; }},
    {u"FontSize=", [](SettingsRecord& r, const QString& v) { setDouble(r.FontSize, v); }},
    {u"FontItalic=", [](SettingsRecord& r, const QString& v) { setFlag(r.FontItalic, v); }},
    {u"FontBold=", [](SettingsRecord& r, const QString& v) { setFlag(r.FontBold, v); }},
    {u"FontStrikethrough=",
     [](SettingsRecord& r, const QString& v) { setFlag(r.FontStrikethrough, v); }},
    {u"FontUnderline=", [](SettingsRecord& r, const QString& v) { setFlag(r.FontUnderline, v); }},
    {u"ForeColor=", [](SettingsRecord& r, const QString& v) { setInt32(r.ForeColor, v); }},
    {u"BackColor=", [](SettingsRecord& r, const QString& v) { setInt32(r.BackColor, v); }},
};

const Key<WindowPlacement> placementKeys[] = {
    {u"Top=", [](WindowPlacement& p, const QString& v) { setInt32(p.Top, v); }},
    {u"Left=", [](WindowPlacement& p, const QString& v) { setInt32(p.Left, v); }},
    {u"Height=", [](WindowPlacement& p, const QString& v) { setInt32(p.Height, v); }},
    {u"Width=", [](WindowPlacement& p, const QString& v) { setInt32(p.Width, v); }},
    {u"State=", [](WindowPlacement& p, const QString& v) { setInt16(p.State, v); }},
};

// The first key the line begins with sets its field.
template <typename Target, size_t N>
void applyLine(const Key<Target> (&keys)[N], Target& target, const QString& line) {
    for (const Key<Target>& key : keys) {
        if (startsWithKey(line, key.text)) {
            key.set(target, line.mid(key.text.size()));
            return;
        }
    }
}

enum class Section { None, Settings, MainWindow, TextWindow };

Section sectionOf(const QString& header) {
    if (header == QStringLiteral("[Settings]"))
        return Section::Settings;
    if (header == QStringLiteral("[MainWindow]"))
        return Section::MainWindow;
    if (header == QStringLiteral("[TextWindow]"))
        return Section::TextWindow;
    return Section::None;
}

void readBytes(const QByteArray& bytes, SettingsRecord& record) {
    Section section = Section::None;
    qsizetype start = 0;
    while (true) {
        const qsizetype end = bytes.indexOf("\r\n", start);
        if (end < 0)
            break;
        const Cp932::Decoded line = Cp932::decode(bytes.mid(start, end - start));
        start = end + 2;
        if (line.text.startsWith(u'[')) {
            section = sectionOf(line.text);
            continue;
        }
        // Bytes that are not code page 932 text make no value of any field.
        if (!line.ok)
            continue;
        switch (section) {
        case Section::None:
            break;
        case Section::Settings:
            applyLine(settingsKeys, record, line.text);
            break;
        case Section::MainWindow:
            applyLine(placementKeys, record.MainWindow, line.text);
            break;
        case Section::TextWindow:
            applyLine(placementKeys, record.TextWindow, line.text);
            break;
        }
    }
}

} // namespace

IniWriteResult IniWrite(const QString& path, const SettingsRecord& record) {
    IniWriteResult result;
    SettingsRecord stored = record;
    std::optional<SettingsRecord> previous;
    QString unstorable;
    for (const TextField& field : textFields) {
        QString& value = stored.*field.member;
        if (storable(value))
            continue;
        unstorable += value;
        result.keptKeys.append(field.key.toString());
        if (!previous) {
            previous.emplace();
            IniRead(path, *previous);
        }
        const QString& before = (*previous).*field.member;
        value = storable(before) ? before : SettingsRecord().*field.member;
    }
    result.unencodable = Cp932::encode(unstorable).unencodable;
    const QString folder = QFileInfo(path).absolutePath();
    if (!QDir().mkpath(folder))
        return result;
    result.written = SafeFileWriter::write(path, Cp932::encode(fileText(stored)).bytes);
    return result;
}

IniReadResult IniRead(const QString& path, SettingsRecord& record) {
    record.resetConversionDefaults();
    record.resetAppearanceDefaults();
    record.MainWindow.Width = 0;
    record.TextWindow.Width = 0;
    const QFileInfo info(path);
    if (path.isEmpty() || !info.exists())
        return IniReadResult::NoFile;
    if (info.isDir() || info.size() > largestFile)
        return IniReadResult::Unreadable;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return IniReadResult::Unreadable;
    // As many bytes as the file's length says: a device that never ends reads as empty.
    const QByteArray bytes = file.read(info.size());
    if (file.error() != QFileDevice::NoError)
        return IniReadResult::Unreadable;
    readBytes(bytes, record);
    return IniReadResult::Read;
}

} // namespace SettingsFile
