// The text view's text and bitmap files: opening, dropping, saving.

#include "textview/fomTextView.h"

#include "textview/BinCheck.h"
#include "textview/TextFiles.h"

#include "platform/Cp932.h"
#include "platform/FileTests.h"
#include "platform/MessageBoxes.h"
#include "platform/PathHelpers.h"
#include "platform/SafeFileWriter.h"
#include "platform/clsComDlg.h"

#include <QMimeData>
#include <QUrl>

#include <algorithm>

void fomTextView::picCopyBuf_OLEDragDrop(const QMimeData* data) {
    const QList<QUrl> urls = data != nullptr ? data->urls() : QList<QUrl>();
    const auto file =
        std::find_if(urls.cbegin(), urls.cend(), [](const QUrl& url) { return url.isLocalFile(); });
    if (file != urls.cend())
        m_textFileName = file->toLocalFile();
    if (TextFileRead(m_textFileName))
        relayout();
}

static QString openFilter() {
    return QStringLiteral("ﾃｷｽﾄﾌｧｲﾙ(txt)|*.txt|全てのﾌｧｲﾙ(*.*)|*.*");
}

static QString saveFilter() {
    return QStringLiteral("ﾃｷｽﾄﾌｧｲﾙ(txt)|*.txt|画像ﾌｧｲﾙ(bmp)|*.bmp|全てのﾌｧｲﾙ(*.*)|*.*");
}

static QString lastFourLower(const QString& path) {
    return path.right(4).toLower();
}

void fomTextView::setFileCaption(const QString& path) {
    setWindowTitle(PathHelpers::PathFile(path) + QStringLiteral(" - Text View"));
}

bool fomTextView::TextFileRead(const QString& path) {
    const TextFiles::ReadResult read = TextFiles::readBytes(path);
    if (read.status == TextFiles::ReadStatus::NotFound) {
        MessageBoxes::ok(this, m_textFileName + QStringLiteral(" ファイルは存在しません。"),
                         MessageBoxes::Icon::Exclamation);
        return false;
    }
    if (read.status != TextFiles::ReadStatus::Ok) {
        MessageBoxes::ok(this, path + QStringLiteral("の読み込みに失敗しました。"),
                         MessageBoxes::Icon::Critical);
        return false;
    }
    if (BinCheck(read.bytes) &&
        !MessageBoxes::yesNoDefaultNo(
            this, path + QStringLiteral(" はバイナリデータが含まれています。強行しますか？")))
        return false;
    m_textBuf = TextFiles::decode(read.bytes);
    setFileCaption(path);
    return true;
}

void fomTextView::TextFileOpen() {
    m_comDlg.Filter = openFilter();
    m_comDlg.OwnerhWnd = this;
    m_comDlg.Flags = clsComDlg::OpenFlags;
    m_comDlg.DialogTitle = QStringLiteral("入力ﾌｧｲﾙの選択");
    m_comDlg.FileName = m_textFileName;
    m_comDlg.FilterIndex = 1;
    m_comDlg.setAction(1);
    if (m_comDlg.FileName.isEmpty())
        return;
    m_textFileName = m_comDlg.FileName;
    if (TextFileRead(m_textFileName))
        relayout();
}

void fomTextView::mnuFileOpen_Click() {
    TextFileOpen();
}

void fomTextView::mnuFileSave_Click() {
    if (m_textFileName.isEmpty())
        mnuFileSaveas_Click();
    else
        TextFileSave(m_textFileName);
}

void fomTextView::mnuFileSaveas_Click() {
    m_comDlg.Filter = saveFilter();
    m_comDlg.OwnerhWnd = this;
    m_comDlg.Flags = clsComDlg::SaveFlags;
    m_comDlg.DialogTitle = QStringLiteral("出力ﾌｧｲﾙの選択");
    m_comDlg.FileName = m_textFileName;
    if (!m_textFileName.isEmpty()) {
        const QString e = lastFourLower(m_textFileName);
        m_comDlg.FilterIndex = e == QStringLiteral(".txt")   ? 1
                               : e == QStringLiteral(".bmp") ? 2
                                                             : 3;
    } else {
        const QString picture = m_pictures.pictureFileName();
        m_comDlg.FileName =
            picture.isEmpty() ? QStringLiteral("無題") : PathHelpers::PathNoExt(picture);
        m_comDlg.FilterIndex = 1;
    }
    m_comDlg.setAction(2);
    if (m_comDlg.FileName.isEmpty())
        return;
    m_textFileName = m_comDlg.FileName;
    const QString wanted =
        m_comDlg.FilterIndex == 2 ? QStringLiteral(".bmp") : QStringLiteral(".txt");
    if (lastFourLower(m_textFileName) != wanted)
        m_textFileName += wanted;
    TextFileSave(m_textFileName);
}

// The old file is replaced only by a complete new one: nothing is deleted before the new
// contents are written in full.
void fomTextView::TextFileSave(const QString& path) {
    if (FileTests::PathExists(path) &&
        !MessageBoxes::yesNoDefaultNo(this, m_textFileName +
                                                QStringLiteral(" ファイルは既に存在します。\r\n"
                                                               "上書きしますか？")))
        return;
    const bool written = TextFiles::isBitmapPath(path) ? writeBitmap(path) : writeText(path);
    if (written)
        setFileCaption(path);
}

// False only when the file could not be written: a text that cannot be rendered is reported, and
// the caption still names the path, as after any completed save step.
bool fomTextView::writeBitmap(const QString& path) {
    QImage picture;
    const qint32 r = PicDrawAll(picture);
    if (r == -1) {
        MessageBoxes::ok(this, QStringLiteral("メモリ不足のため、画像形式のコピーはできません。"),
                         MessageBoxes::Icon::Exclamation);
        return true;
    }
    if (r != 0) {
        MessageBoxes::ok(this, QStringLiteral("画像形式のコピーはできません"),
                         MessageBoxes::Icon::Exclamation);
        return true;
    }
    const QByteArray bytes = TextFiles::bitmapBytes(picture);
    if (bytes.isEmpty() || !SafeFileWriter::write(path, bytes)) {
        MessageBoxes::ok(this, path + QStringLiteral("に保存できません。"),
                         MessageBoxes::Icon::Critical);
        return false;
    }
    return true;
}

// Characters that code page 932 cannot hold are named before anything is written; the user may
// let them become "?" or keep the old file.
bool fomTextView::writeText(const QString& path) {
    const Cp932::Encoded encoded = Cp932::encode(m_textBuf);
    if (!encoded.ok()) {
        QString shown = encoded.unencodable.left(20);
        if (shown.size() < encoded.unencodable.size())
            shown += QStringLiteral("…");
        const QString question =
            path + QStringLiteral(" には Shift-JIS で表せない文字（%1）を保存できません。\r\n"
                                  "これらの文字を「?」に置き換えて保存しますか？")
                       .arg(shown);
        if (!MessageBoxes::yesNoDefaultNo(this, question))
            return false;
    }
    if (!SafeFileWriter::write(path, encoded.bytes)) {
        MessageBoxes::ok(this, path + QStringLiteral("に保存できません。"),
                         MessageBoxes::Icon::Critical);
        return false;
    }
    return true;
}
