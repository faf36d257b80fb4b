#pragma once

#include "convert/SelectionState.h"

#include <QRect>
#include <QSize>
#include <QtGlobal>

#include <array>

// The selection rectangle of the main window without its widgets: the corners the conversion
// reads, the drag on the picture, the pulling of one side by its edge bar, and where the four
// edge bars go. The window shows the bars and scrolls; this class decides.
class SelectionModel {
public:
    static constexpr int BarThickness = 3;

    const SelectionState& state() const { return m_state; }
    bool AiraDrag() const { return m_drag; }
    // The bars' places (0 top, 1 bottom, 2 left, 3 right) and whether they are shown.
    const std::array<QRect, 4>& bars() const { return m_bars; }
    bool barsVisible() const { return m_barsVisible; }
    // The blink timer runs exactly while a rectangle is shown.
    bool timerEnabled() const { return m_timerEnabled; }

    // The inner size of the picture, which the bars are clipped to.
    void setPictureSize(QSize size) { m_picture = size; }

    // Sets the second corner and shows the rectangle (button 1) or hides it (any other button).
    void AiraSet(qint16 x, qint16 y, int button);
    // Places the bars for the current corners, clipped to the picture; false when the rectangle
    // lies wholly beyond the picture and the bars keep their places.
    bool AiraDraw();

    // The left button went down on the picture: a new drag starts there.
    void pictureDown(qint16 x, qint16 y, Qt::MouseButton button);
    // The pointer moved over the picture with buttons held.
    void pictureMove(qint16 x, qint16 y, Qt::MouseButtons buttons);
    // A button went up over the picture: the drag ends and the corners are ordered.
    void pictureUp(qint16 x, qint16 y, Qt::MouseButton button);

    // The left button went down on edge bar index at (x, y) inside the bar.
    void barDown(int index, qint16 x, qint16 y);
    // The pointer moved (or the button went up) over bar index at (x, y) with exactly the left
    // button held: that side follows the pointer, never crossing the opposite side.
    void barPull(int index, double x, double y);

    // How far the view scrolls towards a point p pixels from the view's near edge (negative:
    // before it) in a view of the given inner size: one pixel more per event for every 5 pixels
    // beyond the edge, nothing inside the view.
    static qint32 autoScrollStep(qint32 p, qint32 view);

private:
    SelectionState m_state;
    bool m_drag = false;
    qint16 m_gripX = 0;
    qint16 m_gripY = 0;
    QSize m_picture;
    std::array<QRect, 4> m_bars;
    bool m_barsVisible = false;
    bool m_timerEnabled = false;
};
