#include "CliOptions.h"

#include "BitmapOutput.h"

#include "convert/FontSetup.h"
#include "convert/InputCheck.h"
#include "convert/SliderModel.h"
#include "platform/Numbers.h"
#include "settings/SettingsFile.h"

#include <QCommandLineParser>

namespace {

QString invalidValue(const QString& option, const QString& value) {
    return QStringLiteral("--%1 の値が不正です: %2").arg(option, value);
}

std::optional<QList<int>> parseIntList(const QString& text, int count) {
    const QStringList parts = text.split(u',');
    if (parts.size() != count)
        return std::nullopt;
    QList<int> values;
    for (const QString& part : parts) {
        const std::optional<qint32> v = Numbers::parseInt32(part);
        if (!v)
            return std::nullopt;
        values.append(*v);
    }
    return values;
}

QString versionText() {
    SettingsRecord defaults;
    const QFont font = FontSetup::textFont(defaults);
    return QStringLiteral("charloom-cli %1\n既定のフォント: %2（描画に使うフォント: %3）\n")
        .arg(QStringLiteral(CHARLOOM_VERSION), defaults.FontName, FontSetup::resolvedFamily(font));
}

} // namespace

CliParse parseCliArguments(const QStringList& arguments) {
    CliParse parse;
    CliOptions& o = parse.options;
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("画像をテキストアートに変換します（Charloom のコマンドライン版）。"));
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("この説明を表示します。"));
    const QCommandLineOption version(QStringLiteral("version"),
                                     QStringLiteral("版数と使うフォントを表示します。"));
    const QCommandLineOption mode(
        QStringLiteral("mode"), QStringLiteral("変換方式: normal（通常）または two-level（2値）。"),
        QStringLiteral("方式"), QStringLiteral("normal"));
    const QCommandLineOption lines(QStringLiteral("lines"), QStringLiteral("行数（1〜999）。"),
                                   QStringLiteral("N"));
    const QCommandLineOption palette(QStringLiteral("palette"),
                                     QStringLiteral("文字パレット（\"--\" で範囲）。"),
                                     QStringLiteral("文字"));
    const QCommandLineOption reverse(QStringLiteral("reverse"),
                                     QStringLiteral("反転（暗い地に明るい文字）。"));
    const QCommandLineOption levels(QStringLiteral("levels"),
                                    QStringLiteral("黒と白とみなす階調 LO,HI（0〜255）。"),
                                    QStringLiteral("LO,HI"));
    const QCommandLineOption select(QStringLiteral("select"),
                                    QStringLiteral("変換する範囲 X1,Y1,X2,Y2（画素）。"),
                                    QStringLiteral("X1,Y1,X2,Y2"));
    const QCommandLineOption fontName(QStringLiteral("font"), QStringLiteral("フォント名。"),
                                      QStringLiteral("名前"));
    const QCommandLineOption fontSize(QStringLiteral("size"),
                                      QStringLiteral("フォントの大きさ（ポイント）。"),
                                      QStringLiteral("PT"));
    const QCommandLineOption bold(QStringLiteral("bold"), QStringLiteral("太字。"));
    const QCommandLineOption italic(QStringLiteral("italic"), QStringLiteral("斜体。"));
    const QCommandLineOption underline(QStringLiteral("underline"), QStringLiteral("下線。"));
    const QCommandLineOption strike(QStringLiteral("strikethrough"),
                                    QStringLiteral("取り消し線。"));
    const QCommandLineOption lineSpace(
        QStringLiteral("line-space"), QStringLiteral("行間隔（ポイント）。"), QStringLiteral("PT"));
    const QCommandLineOption nitiGosa(
        QStringLiteral("niti-gosa"),
        QStringLiteral("2値変換で隣の画素に広げるインクの割合（0〜1）。"), QStringLiteral("W"));
    const QCommandLineOption lsConv(QStringLiteral("ls-conv"),
                                    QStringLiteral("行間解釈: 0（無視）または 1（補間）。"),
                                    QStringLiteral("0|1"));
    const QCommandLineOption output(
        {QStringLiteral("o"), QStringLiteral("output")},
        QStringLiteral("結果を Shift-JIS のテキストファイルに保存します（.bmp か .png なら"
                       "文字の画像を保存します）。"),
        QStringLiteral("ファイル"));
    const QCommandLineOption foreColor(
        QStringLiteral("fore-color"),
        QStringLiteral("画像の文字色: #rrggbb、色の名前、または image（画像の色）。"),
        QStringLiteral("色"));
    const QCommandLineOption backColor(
        QStringLiteral("back-color"),
        QStringLiteral("画像の背景色: #rrggbb、色の名前、または image（画像の色）。"),
        QStringLiteral("色"));
    const QCommandLineOption encoding(QStringLiteral("encoding"),
                                      QStringLiteral("標準出力の文字コード: utf-8 または cp932。"),
                                      QStringLiteral("名前"), QStringLiteral("utf-8"));
    const QCommandLineOption quiet({QStringLiteral("q"), QStringLiteral("quiet")},
                                   QStringLiteral("進み具合を表示しません。"));
    const QCommandLineOption settingsFile(
        QStringLiteral("settings"),
        QStringLiteral("設定ファイル（Charloom.ini）の変換とフォントの設定を既定値にします。"),
        QStringLiteral("ファイル"));
    parser.addOptions({help, version, mode, lines, palette, reverse, levels, select, fontName,
                       fontSize, bold, italic, underline, strike, lineSpace});
    parser.addOptions({nitiGosa, lsConv, output, encoding, quiet});
    parser.addOption(settingsFile);
    parser.addOptions({foreColor, backColor});
    parser.addPositionalArgument(QStringLiteral("画像"), QStringLiteral("変換する画像ファイル。"));

    if (!parser.parse(arguments)) {
        parse.error = parser.errorText();
        parse.exitCode = 2;
        parse.action = CliParse::Action::Exit;
        return parse;
    }
    if (parser.isSet(help)) {
        parse.output = parser.helpText() + versionText();
        parse.action = CliParse::Action::Exit;
        return parse;
    }
    if (parser.isSet(version)) {
        parse.output = versionText();
        parse.action = CliParse::Action::Exit;
        return parse;
    }
    auto fail = [&parse](const QString& message) {
        parse.error = message;
        parse.exitCode = 2;
        parse.action = CliParse::Action::Exit;
        return parse;
    };
    const QStringList positional = parser.positionalArguments();
    if (positional.size() != 1)
        return fail(QStringLiteral("画像ファイルを一つ指定して下さい（--help で使い方）。"));
    o.picturePath = positional.first();

    // The settings file, when named, gives the defaults of the run; every option given wins.
    SettingsRecord& s = o.settings;
    if (parser.isSet(settingsFile)) {
        const QString path = parser.value(settingsFile);
        switch (SettingsFile::IniRead(path, s)) {
        case SettingsFile::IniReadResult::Read:
            break;
        case SettingsFile::IniReadResult::NoFile:
            return fail(path + QStringLiteral(" ファイルは存在しません。"));
        case SettingsFile::IniReadResult::Unreadable:
            return fail(path + QStringLiteral(" ファイルを読み込めません。"));
        }
    }
    if (parser.isSet(mode)) {
        const QString modeText = parser.value(mode);
        if (modeText == QStringLiteral("normal"))
            s.ConvMode = 0;
        else if (modeText == QStringLiteral("two-level"))
            s.ConvMode = 1;
        else
            return fail(invalidValue(QStringLiteral("mode"), modeText));
    }

    QString& table = s.ConvMode == 1 ? s.TextTable2 : s.TextTable1;
    if (parser.isSet(palette))
        table = parser.value(palette);
    const QString linesText =
        parser.isSet(lines) ? parser.value(lines) : QString::number(s.TextLines);
    if (const auto message = InputCheck::check(linesText, table))
        return fail(*message);
    s.TextLines = InputCheck::linesValue(linesText);
    if (parser.isSet(reverse))
        s.RvFlg = true;

    if (parser.isSet(levels)) {
        const auto values = parseIntList(parser.value(levels), 2);
        if (!values || (*values)[0] < 0 || (*values)[1] > 255 || (*values)[0] >= (*values)[1])
            return fail(invalidValue(QStringLiteral("levels"), parser.value(levels)) +
                        QStringLiteral("（0 ≦ LO < HI ≦ 255）"));
        o.levels = LevelPair{static_cast<qint16>((*values)[0]), static_cast<qint16>((*values)[1])};
    } else if (s.Low >= 0) {
        // Stored knob positions become grey levels the way the level slider places them.
        SliderModel slider;
        slider.placeStored(s.Low, s.High);
        o.levels = SliderModel::levelPair(slider.storedLow(), slider.storedHigh());
    }
    if (parser.isSet(select)) {
        const auto values = parseIntList(parser.value(select), 4);
        bool fits = values.has_value();
        for (int i = 0; fits && i < 4; ++i)
            fits = (*values)[i] >= -32768 && (*values)[i] <= 32767;
        if (!fits)
            return fail(invalidValue(QStringLiteral("select"), parser.value(select)));
        o.selection.AiraVisible = true;
        o.selection.AiraX1 = static_cast<qint16>((*values)[0]);
        o.selection.AiraY1 = static_cast<qint16>((*values)[1]);
        o.selection.AiraX2 = static_cast<qint16>((*values)[2]);
        o.selection.AiraY2 = static_cast<qint16>((*values)[3]);
    }
    if (parser.isSet(fontName))
        s.FontName = parser.value(fontName);
    if (parser.isSet(fontSize)) {
        const auto size = Numbers::parseNumeric(parser.value(fontSize));
        if (!size || *size <= 0 || *size > 400)
            return fail(invalidValue(QStringLiteral("size"), parser.value(fontSize)) +
                        QStringLiteral("（0 より大きく 400 以下）"));
        s.FontSize = *size;
    }
    if (parser.isSet(bold))
        s.FontBold = true;
    if (parser.isSet(italic))
        s.FontItalic = true;
    if (parser.isSet(underline))
        s.FontUnderline = true;
    if (parser.isSet(strike))
        s.FontStrikethrough = true;
    if (parser.isSet(lineSpace)) {
        const auto space = Numbers::parseNumeric(parser.value(lineSpace));
        if (!space || *space < -400 || *space > 400)
            return fail(invalidValue(QStringLiteral("line-space"), parser.value(lineSpace)));
        s.LineSpace = *space;
    }
    if (parser.isSet(nitiGosa)) {
        const auto weight = Numbers::parseNumeric(parser.value(nitiGosa));
        if (!weight || !(*weight >= 0 && *weight <= 1))
            return fail(invalidValue(QStringLiteral("niti-gosa"), parser.value(nitiGosa)) +
                        QStringLiteral("（0〜1）"));
        s.NitiGosa = *weight;
    }
    if (parser.isSet(lsConv)) {
        const QString value = parser.value(lsConv);
        if (value != QStringLiteral("0") && value != QStringLiteral("1"))
            return fail(invalidValue(QStringLiteral("ls-conv"), value));
        s.LsConv = static_cast<qint16>(value.toInt());
    }
    o.outputPath = parser.value(output);
    for (const auto& [option, field] :
         {std::pair{&foreColor, &s.ForeColor}, std::pair{&backColor, &s.BackColor}}) {
        if (!parser.isSet(*option))
            continue;
        const std::optional<qint32> colour = BitmapOutput::parseColor(parser.value(*option));
        if (!colour)
            return fail(invalidValue(option->names().constFirst(), parser.value(*option)));
        *field = *colour;
    }
    const QString enc = parser.value(encoding).toLower();
    if (enc == QStringLiteral("cp932") || enc == QStringLiteral("shift-jis"))
        o.stdoutCp932 = true;
    else if (enc != QStringLiteral("utf-8") && enc != QStringLiteral("utf8"))
        return fail(invalidValue(QStringLiteral("encoding"), parser.value(encoding)));
    o.quiet = parser.isSet(quiet);
    return parse;
}
