// The main window's Edit and Help menus and its font button.

#include "app/fomMain.h"

#include "app/EditTarget.h"
#include "convert/fomSetup.h"
#include "platform/HelpManual.h"
#include "platform/fomVersion.h"
#include "settings/fomFontSet.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QPainter>

static EditTarget::Boxes editBoxes(const CmdTrayWidget& tray) {
    return EditTarget::Boxes{tray.TblFocus(), tray.txtTxtTbl()->selectedText().size(),
                             tray.LinesFocus(), tray.txtLines()->selectedText().size()};
}

static void putText(const QString& text) {
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    clipboard->setText(text);
}

static void putPicture(const QImage& image) {
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    clipboard->setImage(image);
}

void fomMain::mnuEditCopy_Click() {
    switch (EditTarget::cutCopy(editBoxes(*m_tray), m_picPicture->hasPicture())) {
    case EditTarget::Target::Palette:
        putText(m_tray->txtTxtTbl()->selectedText());
        break;
    case EditTarget::Target::Lines:
        putText(m_tray->txtLines()->selectedText());
        break;
    case EditTarget::Target::Picture:
        putPicture(m_picPicture->image());
        break;
    case EditTarget::Target::Nothing:
        break;
    }
}

void fomMain::mnuEditCut_Click() {
    switch (EditTarget::cutCopy(editBoxes(*m_tray), m_picPicture->hasPicture())) {
    case EditTarget::Target::Palette:
        putText(m_tray->txtTxtTbl()->selectedText());
        m_tray->txtTxtTbl()->del();
        break;
    case EditTarget::Target::Lines:
        putText(m_tray->txtLines()->selectedText());
        m_tray->txtLines()->del();
        break;
    case EditTarget::Target::Picture:
        putPicture(m_picPicture->image());
        PicLoad(QString());
        m_picFileName.clear();
        break;
    case EditTarget::Target::Nothing:
        break;
    }
}

void fomMain::mnuEditPaste_Click() {
    const QClipboard* clipboard = QGuiApplication::clipboard();
    const QMimeData* data = clipboard->mimeData();
    const bool text = data != nullptr && data->hasText();
    const bool image = data != nullptr && data->hasImage();
    switch (EditTarget::paste(editBoxes(*m_tray), text, image)) {
    case EditTarget::Target::Palette:
        m_tray->txtTxtTbl()->insert(clipboard->text());
        break;
    case EditTarget::Target::Lines:
        m_tray->txtLines()->insert(clipboard->text());
        break;
    case EditTarget::Target::Picture:
        pastePicture(clipboard->image());
        break;
    case EditTarget::Target::Nothing:
        break;
    }
}

void fomMain::pastePicture(const QImage& image) {
    if (image.isNull())
        return;
    // Transparent parts show on white, as with pictures loaded from files.
    QImage picture(image.size(), QImage::Format_RGB32);
    picture.fill(Qt::white);
    QPainter painter(&picture);
    painter.drawImage(0, 0, image);
    painter.end();
    m_picPicture->setImage(picture);
    m_picPicture->resize(picture.size());
    m_selection.setPictureSize(picture.size());
    ScrSet();
    AiraSet(0, 0, 0);
    m_picFileName.clear();
    setWindowTitle(Title);
    m_textView.detachFile();
}

void fomMain::mnuHelpTopic_Click() {
    HelpManual::open(this);
}

void fomMain::mnuSetup_Click() {
    fomSetup::showModal(m_settings, this);
}

void fomMain::mnuHelpVersion_Click() {
    fomVersion::showModal(this);
}

void fomMain::cmdFontSet_Click() {
    fomFontSet::showModal(m_settings, this);
    if (m_textView.isVisible())
        m_textView.applyFont();
    FontSet();
}
