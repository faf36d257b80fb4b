#include "convert/SettingsRecord.h"

SettingsRecord::SettingsRecord() {
    resetConversionDefaults();
    resetAppearanceDefaults();
}

QString SettingsRecord::defaultTextTable1() {
    return QStringLiteral(" .:1/72X&%@#");
}

QString SettingsRecord::defaultTextTable2() {
    return QStringLiteral(" .'\"-~+:_1|/72X&%@#");
}

QString SettingsRecord::defaultFontName() {
    return QStringLiteral("ＭＳ Ｐゴシック");
}

void SettingsRecord::resetConversionDefaults() {
    ConvMode = 0;
    TextLines = 26;
    LineSpace = 0;
    RvFlg = false;
    TextTable1 = defaultTextTable1();
    TextTable2 = defaultTextTable2();
    Low = -1;
    High = -1;
    LsConv = 1;
    NitiGosa = 0.2;
}

void SettingsRecord::resetAppearanceDefaults() {
    FontName = defaultFontName();
    FontSize = 12;
    FontItalic = false;
    FontBold = false;
    FontStrikethrough = false;
    FontUnderline = false;
    ForeColor = ColorRef::ButtonText;
    BackColor = ColorRef::WindowBackground;
}
