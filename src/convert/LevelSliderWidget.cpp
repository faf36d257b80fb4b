#include "convert/LevelSliderWidget.h"

#include "platform/Numbers.h"

#include <QMouseEvent>
#include <QPainter>

static constexpr int TrackWidthTwips = 2115;
static constexpr int TrackHeightTwips = 240;

LevelSliderWidget::LevelSliderWidget(QWidget* parent) : QFrame(parent) {
    setObjectName(QStringLiteral("picSlider"));
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(Border);
    setFixedSize(TrackWidthTwips / TwipsPerPixel, TrackHeightTwips / TwipsPerPixel);
    for (int i = 0; i < 2; ++i) {
        auto* knob = new QPushButton(this);
        knob->setObjectName(QStringLiteral("cmdSlider(%1)").arg(i));
        knob->setFocusPolicy(Qt::NoFocus);
        knob->installEventFilter(this);
        m_knobs[static_cast<size_t>(i)] = knob;
    }
    SliderInit();
}

void LevelSliderWidget::setValueBoxes(QLineEdit* low, QLineEdit* high) {
    m_boxes = {low, high};
}

void LevelSliderWidget::placeKnobs() {
    const int h = height() - 2 * Border;
    const int w = static_cast<int>(SliderModel::KnobWidth) / TwipsPerPixel;
    for (int i = 0; i < 2; ++i) {
        const double px = static_cast<double>(m_model.left(i)) / TwipsPerPixel;
        m_knobs[static_cast<size_t>(i)]->setGeometry(
            Border + static_cast<int>(Numbers::roundHalfEven(px)), Border, w, h);
    }
    update();
}

void LevelSliderWidget::SliderInit() {
    m_dragging = false;
    m_model.SliderInit();
    placeKnobs();
}

void LevelSliderWidget::SliderView() {
    placeKnobs();
    if (m_boxes[0] != nullptr)
        m_boxes[0]->setText(m_model.lowText());
    if (m_boxes[1] != nullptr)
        m_boxes[1]->setText(m_model.highText());
}

void LevelSliderWidget::placeStored(qint16 low, qint16 high) {
    if (low < 0)
        return;
    m_model.placeStored(low, high);
    SliderView();
}

void LevelSliderWidget::cmdSlider_MouseDown(int index, Qt::MouseButton button, double x) {
    Q_UNUSED(index);
    if (button != Qt::LeftButton)
        return;
    m_grabX = static_cast<qint16>(Numbers::roundHalfEven(x));
    m_dragging = true;
}

void LevelSliderWidget::cmdSlider_MouseMove(int index, Qt::MouseButtons buttons, double x) {
    if (buttons != Qt::LeftButton || !m_dragging)
        return;
    m_model.SliderMove(index, static_cast<float>(x), m_grabX);
    SliderView();
}

void LevelSliderWidget::cmdSlider_MouseUp(int index, Qt::MouseButton button, double x) {
    if (button != Qt::LeftButton || !m_dragging)
        return;
    m_model.SliderMove(index, static_cast<float>(x), m_grabX);
    SliderView();
    m_dragging = false;
}

void LevelSliderWidget::picSlider_DblClick() {
    if (m_dblClick)
        m_dblClick();
}

bool LevelSliderWidget::eventFilter(QObject* watched, QEvent* event) {
    const int index = watched == m_knobs[0] ? 0 : watched == m_knobs[1] ? 1 : -1;
    if (index < 0)
        return false;
    const auto type = event->type();
    if (type != QEvent::MouseButtonPress && type != QEvent::MouseMove &&
        type != QEvent::MouseButtonRelease)
        return false;
    const auto* mouse = static_cast<QMouseEvent*>(event);
    // The knob's own coordinates, in twips.
    const double x = mouse->position().x() * TwipsPerPixel;
    if (type == QEvent::MouseButtonPress)
        cmdSlider_MouseDown(index, mouse->button(), x);
    else if (type == QEvent::MouseMove)
        cmdSlider_MouseMove(index, mouse->buttons(), x);
    else
        cmdSlider_MouseUp(index, mouse->button(), x);
    return false;
}

void LevelSliderWidget::mouseDoubleClickEvent(QMouseEvent* event) {
    picSlider_DblClick();
    event->accept();
}

void LevelSliderWidget::paintEvent(QPaintEvent* event) {
    QFrame::paintEvent(event);
    // Etched grooves: above the low knob's right edge onwards, below up to the high knob.
    const double sh = (height() - 2.0 * Border) * TwipsPerPixel;
    const int sw = width() - 2 * Border;
    const auto y1 = static_cast<int>(Numbers::roundHalfEven(sh) / 3 / TwipsPerPixel) + Border;
    const auto y2 = static_cast<int>(Numbers::roundHalfEven(2 * sh) / 3 / TwipsPerPixel) + Border;
    const int lowEnd = m_knobs[0]->geometry().right() + 1;
    const int highStart = m_knobs[1]->geometry().left();
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::Dark));
    painter.drawLine(lowEnd, y1, Border + sw, y1);
    painter.drawLine(Border, y2, highStart, y2);
    painter.setPen(palette().color(QPalette::Light));
    painter.drawLine(lowEnd, y1 + 1, Border + sw, y1 + 1);
    painter.drawLine(Border, y2 + 1, highStart, y2 + 1);
}
