#pragma once

// Settings files written out by hand for the tests, and the settings record as a list of
// "Key=value" texts so that a difference names its field.

#include "convert/SettingsRecord.h"

#include <QByteArray>
#include <QFile>
#include <QMetaType>
#include <QString>
#include <QStringList>

Q_DECLARE_METATYPE(SettingsRecord)

namespace SettingsTestFiles {

// "ＭＳ Ｐゴシック" in code page 932.
inline const QByteArray msPGothic("\x82\x6C\x82\x72\x20\x82\x6F\x83\x53\x83\x56\x83\x62\x83\x4E");

inline QByteArray placementLines(const char* header, const char* top, const char* left,
                                 const char* width, const char* height, const char* state) {
    return QByteArray(header) + "\r\nTop=" + top + "\r\nLeft=" + left + "\r\nWidth=" + width +
           "\r\nHeight=" + height + "\r\nState=" + state + "\r\n";
}

// The 33 lines of a file holding the defaults, written out by hand.
inline QByteArray defaultFile() {
    return QByteArray("[Settings]\r\n"
                      "ConvMode=0\r\n"
                      "TextLines=26\r\n"
                      "LineSpace=0\r\n"
                      "RvFlg=False\r\n"
                      "TextTable1= .:1/72X&%@#\r\n"
                      "TextTable2= .'\"-~+:_1|/72X&%@#\r\n"
                      "Low=-1\r\n"
                      "High=-1\r\n"
                      "LsConv=1\r\n"
                      "NitiGosa=0.2\r\n"
                      "FontName=") +
           msPGothic +
           "\r\n"
           "FontSize=12\r\n"
           "FontItalic=False\r\n"
           "FontBold=False\r\n"
           "FontStrikethrough=False\r\n"
           "FontUnderline=False\r\n"
           "ForeColor=-2147483630\r\n"
           "BackColor=-2147483643\r\n"
           "\r\n" +
           placementLines("[MainWindow]", "0", "0", "0", "0", "0") + "\r\n" +
           placementLines("[TextWindow]", "0", "0", "0", "0", "0");
}

inline SettingsRecord defaultsAsRead() {
    SettingsRecord r;
    r.MainWindow.Width = 0;
    r.TextWindow.Width = 0;
    return r;
}

// Every field as "Key=value", so that a difference names its field.
inline QStringList fields(const SettingsRecord& r) {
    auto flag = [](bool b) { return b ? QStringLiteral("true") : QStringLiteral("false"); };
    auto num = [](double v) { return QString::number(v, 'g', 17); };
    auto placement = [](const QString& name, const WindowPlacement& p) {
        return QStringList{name + QStringLiteral(".Top=") + QString::number(p.Top),
                           name + QStringLiteral(".Left=") + QString::number(p.Left),
                           name + QStringLiteral(".Width=") + QString::number(p.Width),
                           name + QStringLiteral(".Height=") + QString::number(p.Height),
                           name + QStringLiteral(".State=") + QString::number(p.State)};
    };
    return QStringList{QStringLiteral("ConvMode=") + QString::number(r.ConvMode),
                       QStringLiteral("TextLines=") + QString::number(r.TextLines),
                       QStringLiteral("LineSpace=") + num(r.LineSpace),
                       QStringLiteral("RvFlg=") + flag(r.RvFlg),
                       QStringLiteral("TextTable1=") + r.TextTable1,
                       QStringLiteral("TextTable2=") + r.TextTable2,
                       QStringLiteral("Low=") + QString::number(r.Low),
                       QStringLiteral("High=") + QString::number(r.High),
                       QStringLiteral("LsConv=") + QString::number(r.LsConv),
                       QStringLiteral("NitiGosa=") + num(r.NitiGosa),
                       QStringLiteral("FontName=") + r.FontName,
                       QStringLiteral("FontSize=") + num(r.FontSize),
                       QStringLiteral("FontItalic=") + flag(r.FontItalic),
                       QStringLiteral("FontBold=") + flag(r.FontBold),
                       QStringLiteral("FontStrikethrough=") + flag(r.FontStrikethrough),
                       QStringLiteral("FontUnderline=") + flag(r.FontUnderline),
                       QStringLiteral("ForeColor=") + QString::number(r.ForeColor),
                       QStringLiteral("BackColor=") + QString::number(r.BackColor)} +
           placement(QStringLiteral("MainWindow"), r.MainWindow) +
           placement(QStringLiteral("TextWindow"), r.TextWindow);
}

inline QByteArray readAll(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray("<unreadable>");
    return file.readAll();
}

inline bool writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(bytes) == bytes.size();
}

} // namespace SettingsTestFiles
