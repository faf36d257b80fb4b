// The text view's Edit menu: the clipboard, margin removal, the bitmap copy, font and colours.

#include "textview/fomTextView.h"

#include "textview/MarginRemoval.h"

#include "platform/MessageBoxes.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

void fomTextView::mnuEditCut_Click() {
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    clipboard->setText(m_textBuf);
    m_textBuf.clear();
    relayout();
}

void fomTextView::mnuEditCopy_Click() {
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    clipboard->setText(m_textBuf);
}

// Text from other programs on this desktop ends its lines with LF alone; the view breaks lines
// at CR LF, so such line ends are made CR LF.
static QString withCrLf(const QString& text) {
    QString result;
    result.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'\n' && (i == 0 || text[i - 1] != u'\r'))
            result += u'\r';
        result += text[i];
    }
    return result;
}

void fomTextView::mnuEditPaste_Click() {
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    if (data == nullptr || !data->hasText())
        return;
    m_textBuf = withCrLf(data->text());
    relayout();
}

void fomTextView::mnuEditResize_Click() {
    m_textBuf = RemoveMargins(m_textBuf);
    relayout();
}

void fomTextView::mnuEditPicCopy_Click() {
    QImage picture;
    const qint32 r = PicDrawAll(picture);
    if (r == -1) {
        MessageBoxes::ok(this, QStringLiteral("メモリ不足のため、画像形式のコピーはできません。"),
                         MessageBoxes::Icon::Exclamation);
        return;
    }
    if (r != 0) {
        MessageBoxes::ok(this, QStringLiteral("画像形式のコピーはできません"),
                         MessageBoxes::Icon::Exclamation);
        return;
    }
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    clipboard->setImage(picture);
}

void fomTextView::mnuEditFont_Click() {
    if (m_fontDialog)
        m_fontDialog(this, m_settings);
    FontSet();
    TxtToPic(m_textBuf);
    ScrSet();
    emit fontChanged();
}

void fomTextView::mnuEditColor_Click() {
    if (m_colorDialog)
        m_colorDialog(this, m_settings);
    ColorSet();
    PicDraw();
}
