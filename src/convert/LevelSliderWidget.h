#pragma once

#include "convert/SliderModel.h"

#include <QFrame>
#include <QLineEdit>
#include <QPushButton>

#include <array>
#include <functional>

// The level slider picSlider: a sunken track with the knobs cmdSlider(0) (low) and
// cmdSlider(1) (high) over the shared slider model, the etched grooves between them, and the
// value boxes txtSlider(0) and txtSlider(1) it writes. Positions are kept in twips by the model;
// the widget shows them at 15 twips a pixel.
class LevelSliderWidget : public QFrame {
    Q_OBJECT
public:
    static constexpr int TwipsPerPixel = 15;
    static constexpr int Border = 2;

    explicit LevelSliderWidget(QWidget* parent = nullptr);

    SliderModel& model() { return m_model; }
    const SliderModel& model() const { return m_model; }
    QPushButton* knob(int index) const { return m_knobs[static_cast<size_t>(index)]; }
    void setValueBoxes(QLineEdit* low, QLineEdit* high);
    // Called on a double-click on the track (the automatic level setting).
    void setDoubleClickHandler(std::function<void()> handler) { m_dblClick = std::move(handler); }

    void SliderInit();
    void SliderView();
    // Places both knobs at stored positions (twips) when low is 0 or more.
    void placeStored(qint16 low, qint16 high);
    bool Dragging() const { return m_dragging; }

    void cmdSlider_MouseDown(int index, Qt::MouseButton button, double x);
    void cmdSlider_MouseMove(int index, Qt::MouseButtons buttons, double x);
    void cmdSlider_MouseUp(int index, Qt::MouseButton button, double x);
    void picSlider_DblClick();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void placeKnobs();

    SliderModel m_model;
    std::array<QPushButton*, 2> m_knobs{};
    std::array<QLineEdit*, 2> m_boxes{};
    qint16 m_grabX = 0;
    bool m_dragging = false;
    std::function<void()> m_dblClick;
};
