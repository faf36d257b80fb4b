#include "platform/MessageBoxes.h"

namespace MessageBoxes {

static Answerer& testAnswerer() {
    static Answerer answerer;
    return answerer;
}

void setAnswererForTests(Answerer answerer) {
    testAnswerer() = std::move(answerer);
}

static QMessageBox::Icon qtIcon(Icon icon) {
    switch (icon) {
    case Icon::Exclamation:
        return QMessageBox::Warning;
    case Icon::Critical:
        return QMessageBox::Critical;
    case Icon::Information:
        return QMessageBox::Information;
    case Icon::Question:
        return QMessageBox::Question;
    case Icon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButton show(QWidget* parent, const Request& request) {
    Request filled = request;
    if (filled.caption.isEmpty())
        filled.caption = QStringLiteral("Charloom");
    if (testAnswerer())
        return testAnswerer()(filled);
    QMessageBox box(qtIcon(filled.icon), filled.caption, filled.text, filled.buttons, parent);
    if (filled.defaultButton != QMessageBox::NoButton)
        box.setDefaultButton(filled.defaultButton);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

void ok(QWidget* parent, const QString& text, Icon icon) {
    show(parent, Request{text, QString(), icon, QMessageBox::Ok, QMessageBox::Ok});
}

bool okCancel(QWidget* parent, const QString& text, Icon icon) {
    const Request request{text, QString(), icon, QMessageBox::Ok | QMessageBox::Cancel,
                          QMessageBox::Ok};
    return show(parent, request) == QMessageBox::Ok;
}

bool yesNoDefaultNo(QWidget* parent, const QString& text, Icon icon) {
    const Request request{text, QString(), icon, QMessageBox::Yes | QMessageBox::No,
                          QMessageBox::No};
    return show(parent, request) == QMessageBox::Yes;
}

} // namespace MessageBoxes
