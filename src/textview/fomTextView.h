#pragma once

#include "textview/LinePrinting.h"
#include "textview/SelectionPictureProvider.h"
#include "textview/TextLayout.h"
#include "textview/TextRendering.h"
#include "textview/WidthCache.h"

#include "convert/SettingsRecord.h"

#include <QFrame>
#include <QImage>
#include <QMainWindow>
#include <QScrollBar>
#include <QString>

#include <functional>

class QAction;
class QKeyEvent;
class QMimeData;
class clsComDlg;

// The text view: shows one text (a conversion's result, a text file or pasted text) in the
// record's font, colours and line spacing. It holds the text as a string, lays it out itself and
// draws only the visible part; its menus save and open files, render the text as a picture and
// change the text as a whole. One instance serves the program; closing it unloads it (the
// placement is recorded) and the next View or Read loads it again.
class fomTextView : public QMainWindow {
    Q_OBJECT
public:
    // A modal dialog that writes its choices into the record (or leaves it as it was).
    using AppearanceDialog = std::function<void(QWidget* parent, SettingsRecord& settings)>;

    // The window's size when no placement is stored: room for 26 lines of the default font.
    static QSize designSize();

    fomTextView(SettingsRecord& settings, const SelectionPictureProvider& pictures,
                clsComDlg& comDlg, QWidget* parent = nullptr);

    // Shows the window and the text; the file name and the caption stay as they are.
    void View(const QString& text);
    // Shows the window and reads the file at path into it.
    void Read(const QString& path);

    void FontSet();
    void ColorSet();
    void TxtToPic(const QString& text);
    void ScrSet();
    void PicDraw();

    const QString& TextBuf() const { return m_textBuf; }
    const QString& TextFileName() const { return m_textFileName; }
    // A new picture was loaded: the view no longer stands for a file.
    void detachFile();
    // The main window disables the appearance dialogs while a conversion runs.
    void setAppearanceMenusEnabled(bool enabled);

    void setFontDialog(AppearanceDialog dialog) { m_fontDialog = std::move(dialog); }
    void setColorDialog(AppearanceDialog dialog) { m_colorDialog = std::move(dialog); }

    const TextLayout& layout() const { return m_layout; }
    const WidthCache& widthCache() const { return m_widthCache; }
    qint32 ScrX() const { return m_scrX; }
    qint32 ScrY() const { return m_scrY; }
    // The inner area of picView: the viewport.
    QRect viewport() const;
    // The whole text rendered as on screen: 0, or -2 (nothing to render) / -1 (no memory).
    qint32 PicDrawAll(QImage& result);

signals:
    // The record's font changed: the main window gives its own boxes the new font.
    void fontChanged();

public slots:
    void mnuFileOpen_Click();
    void mnuFileSave_Click();
    void mnuFileSaveas_Click();
    void mnuFileExit_Click();
    void mnuEditCut_Click();
    void mnuEditCopy_Click();
    void mnuEditPaste_Click();
    void mnuEditPicCopy_Click();
    void mnuEditResize_Click();
    void mnuEditFont_Click();
    void mnuEditColor_Click();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void createControls();
    void createMenus();
    QAction* addItem(QMenu* menu, const char* name, const QString& caption,
                     const QKeySequence& shortcut);
    void wireControls();
    void ensureLoaded();
    void showAndRepaint();
    void Form_Load();
    void Form_Resize();
    void Form_Unload();
    void restorePlacement();
    void recordPlacement();
    void hscView_Change(int value);
    void vscView_Change(int value);
    void picCopyBuf_Paint();
    // True when the key scrolled.
    bool picView_KeyDown(const QKeyEvent* event);
    void DragScroll(int x, int y);
    void picCopyBuf_OLEDragDrop(const QMimeData* data);
    void relayout();

    // Text and bitmap files.
    bool TextFileRead(const QString& path);
    void TextFileSave(const QString& path);
    void TextFileOpen();
    bool writeText(const QString& path);
    bool writeBitmap(const QString& path);
    void setFileCaption(const QString& path);

    SettingsRecord& m_settings;
    const SelectionPictureProvider& m_pictures;
    clsComDlg& m_comDlg;
    AppearanceDialog m_fontDialog;
    AppearanceDialog m_colorDialog;

    QWidget* m_client = nullptr;
    QFrame* m_picView = nullptr;
    QWidget* m_picCopyBuf = nullptr;
    QScrollBar* m_vscView = nullptr;
    QScrollBar* m_hscView = nullptr;
    QAction* m_mnuEditFont = nullptr;
    QAction* m_mnuEditColor = nullptr;

    QString m_textBuf;
    QString m_textFileName;
    TextLayout m_layout;
    WidthCache m_widthCache;
    TextRendering::Colors m_colors;
    LinePrinting::VisibleLines m_visible;
    qint32 m_scrX = 0;
    qint32 m_scrY = 0;
    bool m_drawing = false;
    bool m_loaded = false;
};
