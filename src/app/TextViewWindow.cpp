#include "app/TextViewWindow.h"

#include "app/fomMain.h"

void TextViewWindow::attach(fomMain& main) {
    m_window = std::make_unique<fomTextView>(m_settings, *this, main.ComDlg());
    m_pictureFileName = [&main] { return main.PicFileName(); };
    QObject::connect(m_window.get(), &fomTextView::fontChanged, &main, &fomMain::FontSet);
}

void TextViewWindow::View(const QString& text, const QImage& selectionCopy) {
    m_selection = selectionCopy;
    if (m_window)
        m_window->View(text);
}

void TextViewWindow::Read(const QString& path) {
    if (m_window)
        m_window->Read(path);
}

void TextViewWindow::detachFile() {
    if (m_window)
        m_window->detachFile();
}

bool TextViewWindow::isVisible() const {
    return m_window && m_window->isVisible();
}

void TextViewWindow::setRunMenusEnabled(bool enabled) {
    if (m_window)
        m_window->setAppearanceMenusEnabled(enabled);
}

void TextViewWindow::unload() {
    if (m_window)
        m_window->close();
}

QString TextViewWindow::pictureFileName() const {
    return m_pictureFileName ? m_pictureFileName() : QString();
}
