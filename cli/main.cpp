// charloom-cli: converts a picture into text art without a window, for scripts and batch work.

#include "BitmapOutput.h"
#include "CliOptions.h"
#include "CliRunServices.h"

#include "convert/AutoLevel.h"
#include "convert/ConvDispatch.h"
#include "convert/FontGlyphs.h"
#include "convert/FontSetup.h"
#include "convert/RunMessages.h"
#include "convert/SliderModel.h"
#include "platform/Cp932.h"
#include "platform/MemoryReuse.h"
#include "platform/PictureLoader.h"
#include "platform/SafeFileWriter.h"

#include <QGuiApplication>

#include <cstdio>
#include <cstdlib>
#include <unistd.h>

namespace {

void writeStdout(const QByteArray& bytes) {
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stdout);
    std::fflush(stdout);
}

QString endMessage(ConvOutcome outcome) {
    switch (outcome) {
    case ConvOutcome::EmptySelection:
        return QStringLiteral("選択範囲に画素がありません。");
    case ConvOutcome::RowHeightTooSmall:
        return QStringLiteral(
            "行の高さが 1 画素未満です（フォントの大きさと行間隔を見直して下さい）。");
    case ConvOutcome::Aborted:
        return QStringLiteral("中断しました。");
    case ConvOutcome::Cancelled999:
        return QStringLiteral("999 文字の確認で取り消されました。");
    default:
        return QString();
    }
}

int writeResult(const CliOptions& options, const QString& text, const QImage& selectionCopy) {
    if (BitmapOutput::isPicturePath(options.outputPath)) {
        const QString message =
            BitmapOutput::write(options.outputPath, text, options.settings, selectionCopy);
        if (!message.isEmpty()) {
            printError(message);
            return 1;
        }
        return 0;
    }
    if (!options.outputPath.isEmpty()) {
        const Cp932::Encoded encoded = Cp932::encode(text);
        if (!encoded.ok()) {
            printError(QStringLiteral("Shift-JIS で保存できない文字があります: ") +
                       encoded.unencodable);
            return 1;
        }
        if (!SafeFileWriter::write(options.outputPath, encoded.bytes)) {
            printError(options.outputPath + QStringLiteral("に保存できません。"));
            return 1;
        }
        return 0;
    }
    // A terminal's lines end with LF alone, the last one too. Both encodings write CR LF as the
    // bytes 0D 0A, so the CRs are taken out of the encoded text.
    QByteArray bytes;
    if (options.stdoutCp932) {
        Cp932::Encoded encoded = Cp932::encode(text);
        if (!encoded.ok()) {
            printError(QStringLiteral("Shift-JIS で出力できない文字があります: ") +
                       encoded.unencodable);
            return 1;
        }
        bytes = std::move(encoded.bytes);
    } else {
        bytes = text.toUtf8();
    }
    bytes.replace("\r\n", "\n");
    bytes += '\n';
    writeStdout(bytes);
    return 0;
}

QtMessageHandler qtDefaultHandler = nullptr;

// Qt's own start-up messages about the missing runtime folder are noise on a terminal.
void dropStartupNoise(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (message.startsWith(QStringLiteral("QStandardPaths:")))
        return;
    qtDefaultHandler(type, context, message);
}

// Ends the process once everything is written: tearing down the picture, the glyphs and Qt
// would only free memory the system takes back anyway, and costs a noticeable part of a short
// run. Sanitizer builds return normally, so that the leak check still sees every run.
int endProcess(int exitCode) {
#if !defined(__SANITIZE_ADDRESS__)
    std::fflush(stdout);
    std::fflush(stderr);
    std::_Exit(exitCode);
#endif
    return exitCode;
}

} // namespace

int main(int argc, char* argv[]) {
    MemoryReuse::keepFreedMemory();
    // QGuiApplication takes options such as -reverse for itself: keep the command line as given.
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    qtDefaultHandler = qInstallMessageHandler(dropStartupNoise);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QGuiApplication::setApplicationName(QStringLiteral("Charloom"));
    QGuiApplication::setApplicationVersion(QStringLiteral(CHARLOOM_VERSION));
    FontSetup::installSubstitutions();

    const CliParse parse = parseCliArguments(arguments);
    if (parse.action == CliParse::Action::Exit) {
        if (!parse.error.isEmpty())
            printError(parse.error);
        writeStdout(parse.output.toUtf8());
        return parse.exitCode;
    }
    const CliOptions& options = parse.options;

    // From here on Ctrl+C ends the program at once until the run starts (nothing is written
    // before), then stops the run at its next check.
    CliRunServices::installInterruptHandler();
    const PictureLoader::Result picture = PictureLoader::load(options.picturePath);
    if (!picture.ok()) {
        printError(picture.message);
        return 1;
    }

    LevelPair levels = options.levels.value_or(LevelPair{0, 255});
    if (options.autoLevels) {
        // The knobs go where the desktop's double-click puts them; the levels follow from them.
        qint16 low = 0;
        qint16 high = 0;
        const AutoLevel::Outcome outcome =
            AutoLevel::AutoLevel(&picture.image, options.selection, low, high);
        if (outcome == AutoLevel::Outcome::InvalidSelection) {
            printError(RunMessages::invalidSelection());
            return 1;
        }
        if (outcome == AutoLevel::Outcome::Set) {
            SliderModel slider;
            slider.placeStored(low, high);
            levels = SliderModel::levelPair(slider.storedLow(), slider.storedHigh());
        }
    }

    const FontGlyphs glyphs(FontSetup::textFont(options.settings));
    // The first measurement sets up the font configuration, a tenth of a second that no check can
    // interrupt: it is done here, where Ctrl+C still ends the program at once.
    glyphs.textHeight(QStringLiteral(" "));
    CliRunServices services(!options.quiet && isatty(STDERR_FILENO));
    const ConversionInput input{options.settings, &picture.image, options.selection, glyphs,
                                levels};
    CliRunServices::enterStage(CliRunServices::Stage::Running);
    const ConversionResult result = ConvDispatch(input, services);
    CliRunServices::enterStage(CliRunServices::Stage::Writing);
    // Ctrl+C after the run's last look but before the writing stops it all the same.
    const bool stoppedLate = services.handedOff() && CliRunServices::interrupted.load();
    if (!services.handedOff() || stoppedLate) {
        const ConvOutcome outcome = stoppedLate ? ConvOutcome::Aborted : result.outcome;
        const QString message = endMessage(outcome);
        if (!message.isEmpty())
            printError(message);
        // Nothing was written. Tearing Qt down may first set up the font configuration that the
        // stopped run never needed, which takes longer than stopping did: end here.
        if (outcome == ConvOutcome::Aborted)
            std::_Exit(130);
        return 1;
    }
    return endProcess(writeResult(options, services.text(), result.selectionCopy));
}
