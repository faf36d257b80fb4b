#include "app/clsTextViewStandIn.h"

#include "platform/Cp932.h"
#include "platform/PathHelpers.h"

#include <QFile>
#include <QFontDatabase>

clsTextViewStandIn::~clsTextViewStandIn() {
    delete m_window;
}

QPlainTextEdit* clsTextViewStandIn::window() {
    if (m_window == nullptr) {
        m_window = new QPlainTextEdit;
        m_window->setObjectName(QStringLiteral("fomTextView"));
        m_window->setWindowTitle(QStringLiteral("Text View"));
        m_window->setLineWrapMode(QPlainTextEdit::NoWrap);
        m_window->resize(640, 480);
    }
    return m_window;
}

void clsTextViewStandIn::View(const QString& text, const QImage& selectionCopy) {
    Q_UNUSED(selectionCopy);
    QPlainTextEdit* w = window();
    w->setPlainText(text);
    w->show();
    w->raise();
}

void clsTextViewStandIn::Read(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return;
    QPlainTextEdit* w = window();
    w->setPlainText(Cp932::decode(file.readAll()).text);
    w->setWindowTitle(PathHelpers::PathFile(path) + QStringLiteral(" - Text View"));
    w->show();
}

void clsTextViewStandIn::detachFile() {
    if (m_window != nullptr)
        m_window->setWindowTitle(QStringLiteral("Text View"));
}

bool clsTextViewStandIn::isVisible() const {
    return m_window != nullptr && m_window->isVisible();
}

void clsTextViewStandIn::setRunMenusEnabled(bool enabled) {
    Q_UNUSED(enabled);
}

void clsTextViewStandIn::unload() {
    if (m_window != nullptr)
        m_window->close();
}
