#pragma once

#include "textview/fomTextView.h"

#include "convert/FontSetup.h"
#include "platform/MessageBoxes.h"
#include "platform/clsComDlg.h"

#include <QFontDatabase>
#include <QTest>

#include <memory>

// The selection picture and picture path a test hands to the text view.
class FixedPictures : public SelectionPictureProvider {
public:
    QImage selectionPicture() const override { return picture; }
    QString pictureFileName() const override { return path; }
    QImage picture;
    QString path;
};

// A text view on its own, with Monapo as its font, every message box answered by the test and
// every file dialog answered by a chooser.
struct TextViewFixture {
    SettingsRecord settings;
    FixedPictures pictures;
    clsComDlg comDlg;
    std::unique_ptr<fomTextView> view;
    QList<MessageBoxes::Request> asked;
    QMessageBox::StandardButton answer = QMessageBox::Yes;

    static bool loadMonapo() {
        static const int id = QFontDatabase::addApplicationFont(
            QStringLiteral("/usr/share/fonts/truetype/monapo/monapo.ttf"));
        return id >= 0;
    }

    TextViewFixture() {
        settings.FontName = QStringLiteral("Monapo");
        settings.ForeColor = 0x000000;
        settings.BackColor = 0xFFFFFF;
        MessageBoxes::setAnswererForTests([this](const MessageBoxes::Request& request) {
            asked.append(request);
            return answer;
        });
        view = std::make_unique<fomTextView>(settings, pictures, comDlg);
    }
    ~TextViewFixture() {
        view.reset();
        MessageBoxes::setAnswererForTests({});
        clsComDlg::setChooserForTests({});
    }

    template <typename T>
    T* child(const char* name) const {
        return view->findChild<T*>(QString::fromLatin1(name));
    }
    QScrollBar* vsc() const { return child<QScrollBar>("vscView"); }
    QScrollBar* hsc() const { return child<QScrollBar>("hscView"); }
    QWidget* box() const { return child<QWidget>("picCopyBuf"); }
    QWidget* picView() const { return child<QWidget>("picView"); }
};

// Lines of numbers, wide and many enough to scroll both ways in the design size.
inline QString longText(int lines = 80, int width = 120) {
    QString text;
    for (int i = 0; i < lines; ++i) {
        QString line = QString::number(i).rightJustified(3, u'0') + u' ';
        while (line.size() < width)
            line += QStringLiteral("／＼(´・ω・`)abc");
        text += line.left(width) + QStringLiteral("\r\n");
    }
    return text;
}
