#pragma once

#include "convert/SettingsRecord.h"

#include <QString>

// The font fields that the font dialog edits and describes, apart from the line spacing.
struct FontChoice {
    QString name;
    double size = 12;
    bool italic = false;
    bool bold = false;
    bool strikethrough = false;
    bool underline = false;

    static FontChoice fromSettings(const SettingsRecord& settings) {
        return FontChoice{settings.FontName, settings.FontSize,          settings.FontItalic,
                          settings.FontBold, settings.FontStrikethrough, settings.FontUnderline};
    }
};
