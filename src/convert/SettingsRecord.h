#pragma once

#include <QString>
#include <QtGlobal>

// Placement of one window: its outer rectangle in twips and its state (0 normal, 1 minimised,
// 2 maximised). A Width of 0 means that no placement is stored. Held in 32 bits so that windows
// right of about 2,184 pixels (16-bit twips) survive on wide desktops.
struct WindowPlacement {
    qint32 Top = 0;
    qint32 Left = 0;
    qint32 Width = 0;
    qint32 Height = 0;
    qint16 State = 0;
};

// Colour references: red in the lowest byte; with the top bit set the low byte is a system
// colour index. ImageColor means "take the colour from the converted picture".
namespace ColorRef {
constexpr qint32 WindowBackground = static_cast<qint32>(0x80000005u);
constexpr qint32 ButtonText = static_cast<qint32>(0x80000012u);
constexpr qint32 ImageColor = static_cast<qint32>(0x8000000Fu);
} // namespace ColorRef

// Everything the program remembers between runs. One instance is owned by the program and passed
// by reference; field names are the settings file's keys.
struct SettingsRecord {
    qint16 ConvMode = 0;
    qint16 TextLines = 26;
    double LineSpace = 0;
    bool RvFlg = false;
    QString TextTable1;
    QString TextTable2;
    qint16 Low = -1;
    qint16 High = -1;
    qint16 LsConv = 1;
    double NitiGosa = 0.2;

    QString FontName;
    double FontSize = 12;
    bool FontItalic = false;
    bool FontBold = false;
    bool FontStrikethrough = false;
    bool FontUnderline = false;
    qint32 ForeColor = ColorRef::ButtonText;
    qint32 BackColor = ColorRef::WindowBackground;

    WindowPlacement MainWindow;
    WindowPlacement TextWindow;

    SettingsRecord();

    // The ten conversion parameters back to their defaults; appearance and placements untouched.
    void resetConversionDefaults();
    // Font and colours back to their defaults; conversion parameters and placements untouched.
    void resetAppearanceDefaults();

    static QString defaultTextTable1();
    static QString defaultTextTable2();
    static QString defaultFontName();
};
