#pragma once

#include "MainWindowFakes.h"

#include "app/TextViewWindow.h"
#include "app/fomMain.h"
#include "platform/MessageBoxes.h"

#include <QApplication>
#include <QCoreApplication>
#include <QImage>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>

// A mouse event with the given button and buttons held, delivered straight to the widget.
inline void sendMouse(QWidget* widget, QEvent::Type type, QPoint pos, Qt::MouseButton button,
                      Qt::MouseButtons buttons) {
    QMouseEvent event(type, QPointF(pos), QPointF(widget->mapToGlobal(pos)), button, buttons,
                      Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &event);
}

// A left-button drag from one point to another through their midpoint.
inline void dragMouse(QWidget* widget, QPoint from, QPoint to) {
    sendMouse(widget, QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton);
    sendMouse(widget, QEvent::MouseMove, (from + to) / 2, Qt::NoButton, Qt::LeftButton);
    sendMouse(widget, QEvent::MouseMove, to, Qt::NoButton, Qt::LeftButton);
    sendMouse(widget, QEvent::MouseButtonRelease, to, Qt::LeftButton, Qt::NoButton);
}

// Answers the next modal dialog once it is up.
inline void whenModal(std::function<void(QWidget* dialog)> answer) {
    QTimer::singleShot(0, [answer] {
        QWidget* dialog = QApplication::activeModalWidget();
        QVERIFY(dialog != nullptr);
        answer(dialog);
    });
}

// Clicks the push button of that name inside the widget.
inline void clickButton(QWidget* parent, const QString& name) {
    QTest::mouseClick(parent->findChild<QPushButton*>(name), Qt::LeftButton);
}

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
    // Started, then showing the picture file.
    fomMain& startOn(const QString& picture) {
        fomMain& w = start();
        w.PicLoad(picture);
        return w;
    }

    template <typename T>
    T* child(const QString& name) const {
        return window->findChild<T*>(name);
    }
    QPushButton* button(const QString& name) const { return child<QPushButton>(name); }
    QLineEdit* edit(const QString& name) const { return child<QLineEdit>(name); }
    QWidget* picture() const { return child<QWidget>(u"picPicture"_qs); }
    QWidget* bord() const { return child<QWidget>(u"picBord"_qs); }
    QScrollBar* vbar() const { return child<QScrollBar>(u"vscBord"_qs); }
    QScrollBar* hbar() const { return child<QScrollBar>(u"hscBord"_qs); }
    QString sliderTexts() const {
        return edit(u"txtSlider(0)"_qs)->text() + u'/' + edit(u"txtSlider(1)"_qs)->text();
    }
};

// The main window linked to the real text view window, over an in-memory settings file.
struct LinkedWindows {
    SettingsRecord settings;
    MemorySettingsFile file;
    TextViewWindow textView{settings};
    fomMain main{settings, file, textView};
    LinkedWindows() { textView.attach(main); }
};

inline QString writePicture(const QTemporaryDir& dir, const QString& name, const QImage& image) {
    const QString path = dir.filePath(name);
    image.save(path, "PNG");
    return path;
}

inline QImage filledImage(int w, int h, QRgb colour = qRgb(0, 0, 0)) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}
