#include "app/clsTextViewWindow.h"

#include "settings/fomColorSet.h"
#include "settings/fomFontSet.h"

clsTextViewWindow::clsTextViewWindow(SettingsRecord& settings) : m_settings(settings) {}

clsTextViewWindow::~clsTextViewWindow() {
    delete m_window;
}

fomTextView* clsTextViewWindow::ensureWindow() {
    if (m_window == nullptr) {
        m_window = new fomTextView(m_settings, *this, *m_comDlg);
        m_window->setFontDialog([](QWidget* parent, SettingsRecord& settings) {
            fomFontSet::showModal(settings, parent);
        });
        m_window->setColorDialog([](QWidget* parent, SettingsRecord& settings) {
            fomColorSet::showModal(settings, parent);
        });
        QObject::connect(m_window, &fomTextView::fontChanged, m_window, [this] {
            if (m_fontChanged)
                m_fontChanged();
        });
    }
    return m_window;
}

void clsTextViewWindow::View(const QString& text, const QImage& selectionCopy) {
    m_selection = selectionCopy;
    ensureWindow()->View(text);
}

void clsTextViewWindow::Read(const QString& path) {
    ensureWindow()->Read(path);
}

void clsTextViewWindow::detachFile() {
    if (m_window != nullptr)
        m_window->detachFile();
}

bool clsTextViewWindow::isVisible() const {
    return m_window != nullptr && m_window->isVisible();
}

void clsTextViewWindow::setRunMenusEnabled(bool enabled) {
    if (m_window != nullptr)
        m_window->setAppearanceMenusEnabled(enabled);
}

void clsTextViewWindow::applyFont() {
    if (m_window == nullptr)
        return;
    m_window->FontSet();
    m_window->TxtToPic(m_window->TextBuf());
    m_window->ScrSet();
}

void clsTextViewWindow::unload() {
    if (m_window != nullptr)
        m_window->close();
}
