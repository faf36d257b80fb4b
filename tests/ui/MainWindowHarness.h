#pragma once

#include "MainWindowFakes.h"

#include "app/fomMain.h"
#include "platform/MessageBoxes.h"

#include <QCoreApplication>
#include <QImage>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QTemporaryDir>

#include <memory>

// A main window over an in-memory settings file and a recording text view, with every message
// box answered by the test.
struct MainWindowHarness {
    SettingsRecord settings;
    MemorySettingsFile file;
    RecordingTextView textView;
    std::unique_ptr<fomMain> window;
    QStringList messages;
    QMessageBox::StandardButton answer = QMessageBox::Ok;

    MainWindowHarness() {
        MessageBoxes::setAnswererForTests([this](const MessageBoxes::Request& request) {
            messages.append(request.text);
            return answer;
        });
    }
    ~MainWindowHarness() {
        window.reset();
        MessageBoxes::setAnswererForTests({});
    }

    fomMain& start(const QString& commandLine = QString()) {
        window = std::make_unique<fomMain>(settings, file, textView);
        window->setCommandLine(commandLine);
        window->Form_Load();
        window->show();
        window->Form_Activate();
        return *window;
    }

    template <typename T>
    T* child(const QString& name) const {
        return window->findChild<T*>(name);
    }
    QPushButton* button(const QString& name) const { return child<QPushButton>(name); }
    QLineEdit* edit(const QString& name) const { return child<QLineEdit>(name); }
};

inline QString writePicture(const QTemporaryDir& dir, const QString& name, const QImage& image) {
    const QString path = dir.filePath(name);
    image.save(path, "PNG");
    return path;
}

inline QImage filledImage(int w, int h, QRgb colour) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

// A mouse event with the given button and buttons held, delivered straight to the widget.
inline void sendMouse(QWidget* widget, QEvent::Type type, QPoint pos, Qt::MouseButton button,
                      Qt::MouseButtons buttons) {
    QMouseEvent event(type, QPointF(pos), QPointF(widget->mapToGlobal(pos)), button, buttons,
                      Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &event);
}
