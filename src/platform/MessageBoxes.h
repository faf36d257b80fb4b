#pragma once

#include <QMessageBox>
#include <QString>
#include <QWidget>

#include <functional>

// Every message and question of the program: a box with the caption "Charloom" (or a given one),
// an icon, buttons and a default button. Tests answer the boxes through a seam instead of a user.
namespace MessageBoxes {

enum class Icon { None, Exclamation, Critical, Information, Question };

struct Request {
    QString text;
    QString caption;
    Icon icon = Icon::None;
    QMessageBox::StandardButtons buttons = QMessageBox::Ok;
    QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
};

QMessageBox::StandardButton show(QWidget* parent, const Request& request);

// An OK box with the program's title.
void ok(QWidget* parent, const QString& text, Icon icon = Icon::None);
// An OK/Cancel question; true for OK.
bool okCancel(QWidget* parent, const QString& text, Icon icon = Icon::None);
// A Yes/No question with No as the default; true for Yes.
bool yesNoDefaultNo(QWidget* parent, const QString& text, Icon icon = Icon::Exclamation);

using Answerer = std::function<QMessageBox::StandardButton(const Request& request)>;
// Tests answer every box through this (an empty function restores real boxes).
void setAnswererForTests(Answerer answerer);

} // namespace MessageBoxes
