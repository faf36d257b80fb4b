#include "convert/CmdTrayWidget.h"

#include "convert/InputCheck.h"
#include "platform/Numbers.h"

#include <QFontMetrics>
#include <QKeyEvent>
#include <QStyle>

#include <cmath>

namespace {

template <typename T>
T* named(QWidget* parent, const QString& name) {
    auto* widget = new T(parent);
    widget->setObjectName(name);
    return widget;
}

QPushButton* button(QWidget* parent, const QString& name, const QString& caption, int x,
                    int width) {
    auto* b = named<QPushButton>(parent, name);
    b->setText(caption);
    b->setGeometry(x, 0, width, 24);
    return b;
}

// Half of a height rounded to a whole pixel, the way the tray centres its controls.
int half(int v) {
    return v / 2;
}

constexpr int PaletteTop = 30;

} // namespace

CmdTrayWidget::CmdTrayWidget(SettingsRecord& settings, QWidget* parent)
    : QWidget(parent), m_settings(settings) {
    setObjectName(QStringLiteral("picCmdTray"));
    resize(DesignWidth, DesignHeight);

    const std::array<QString, 2> modes{QStringLiteral("通常"), QStringLiteral("2値")};
    for (int i = 0; i < 2; ++i) {
        auto* opt = named<QRadioButton>(this, QStringLiteral("optMode(%1)").arg(i));
        opt->setText(modes[static_cast<size_t>(i)]);
        opt->setGeometry(4 + 46 * i, 4, 46, 20);
        connect(opt, &QRadioButton::toggled, this, [this, i](bool on) {
            if (on)
                optMode_Click(i);
        });
        m_optMode[static_cast<size_t>(i)] = opt;
    }
    m_txtLines = named<QLineEdit>(this, QStringLiteral("txtLines"));
    m_txtLines->setGeometry(98, 4, 32, 20);
    m_txtLines->installEventFilter(this);
    m_lblLines = named<QLabel>(this, QStringLiteral("lblLines"));
    m_lblLines->setText(QStringLiteral("行"));
    m_lblLines->setGeometry(132, 4, 14, 20);
    m_chkReverce = named<QCheckBox>(this, QStringLiteral("chkReverce"));
    m_chkReverce->setText(QStringLiteral("反転"));
    m_chkReverce->setGeometry(148, 4, 50, 20);

    for (int i = 0; i < 2; ++i) {
        auto* box = named<QLineEdit>(this, QStringLiteral("txtSlider(%1)").arg(i));
        box->setReadOnly(true);
        box->setFocusPolicy(Qt::NoFocus);
        box->setAlignment(Qt::AlignRight);
        box->setText(i == 0 ? QStringLiteral("0") : QStringLiteral("100"));
        m_txtSlider[static_cast<size_t>(i)] = box;
    }
    m_txtSlider[0]->setGeometry(200, 4, 30, 20);
    m_slider = new LevelSliderWidget(this);
    m_slider->move(232, 6);
    m_slider->setValueBoxes(m_txtSlider[0], m_txtSlider[1]);
    m_txtSlider[1]->setGeometry(m_slider->x() + m_slider->width() + 2, 4, 34, 20);

    m_lblTxtTbl = named<QLabel>(this, QStringLiteral("lblTxtTbl"));
    m_lblTxtTbl->setText(QStringLiteral("文字"));
    m_lblTxtTbl->setGeometry(4, PaletteTop, 30, 18);
    m_txtTxtTbl = named<QLineEdit>(this, QStringLiteral("txtTxtTbl"));
    m_txtTxtTbl->setGeometry(36, PaletteTop, 322, 24);
    m_txtTxtTbl->installEventFilter(this);
    m_cmdFontSet = named<QPushButton>(this, QStringLiteral("cmdFontSet"));
    m_cmdFontSet->setText(QStringLiteral("ﾌｫﾝﾄ"));
    m_cmdFontSet->setGeometry(362, PaletteTop, 50, 22);

    m_cmdSetInit = button(this, QStringLiteral("cmdSetInit"), QStringLiteral("初期値"), 4, 70);
    m_cmdRead = button(this, QStringLiteral("cmdRead"), QStringLiteral("読む"), 190, 70);
    m_cmdWrite = button(this, QStringLiteral("cmdWrite"), QStringLiteral("変換"), 264, 70);
    m_cmdExit = button(this, QStringLiteral("cmdExit"), QStringLiteral("終了"), 342, 70);

    connect(m_cmdSetInit, &QPushButton::clicked, this, &CmdTrayWidget::cmdSetInit_Click);
}

void CmdTrayWidget::clearFocusFlags() {
    m_tblFocus = false;
    m_linesFocus = false;
}

qint16 CmdTrayWidget::selectedMode() const {
    for (int i = 0; i < 2; ++i)
        if (m_optMode[static_cast<size_t>(i)]->isChecked())
            return static_cast<qint16>(i);
    return 0;
}

void CmdTrayWidget::FontSet(const QFont& font) {
    m_txtTxtTbl->setFont(font);
    const QFontMetrics metrics(font);
    // One text line plus the box's frame.
    const int frame = 2 * m_txtTxtTbl->style()->pixelMetric(QStyle::PM_DefaultFrameWidth) + 4;
    m_txtTxtTbl->resize(m_txtTxtTbl->width(), metrics.height() + frame);
    const int top = m_txtTxtTbl->y();
    const int h = m_txtTxtTbl->height();
    m_cmdFontSet->move(m_cmdFontSet->x(), top + half(h) - half(m_cmdFontSet->height()));
    m_lblTxtTbl->move(m_lblTxtTbl->x(), top + half(h) - half(m_lblTxtTbl->height()));
    const int gap = half(m_cmdFontSet->height());
    const int row = top + h + gap;
    for (QPushButton* b : {m_cmdSetInit, m_cmdRead, m_cmdWrite, m_cmdExit})
        b->move(b->x(), row);
    resize(width(), row + m_cmdSetInit->height() + gap);
}

void CmdTrayWidget::SetToCtrl() {
    if (m_fontSet)
        m_fontSet();
    const int mode = m_settings.ConvMode == 1 ? 1 : 0;
    m_optMode[static_cast<size_t>(mode)]->setChecked(true);
    m_txtTxtTbl->setText(m_settings.ConvMode != 0 ? m_settings.TextTable2 : m_settings.TextTable1);
    m_txtLines->setText(QString::number(m_settings.TextLines));
    m_chkReverce->setChecked(m_settings.RvFlg);
}

void CmdTrayWidget::CtrlToSet() {
    m_settings.ConvMode = selectedMode();
    m_settings.Low = m_slider->model().storedLow();
    m_settings.High = m_slider->model().storedHigh();
    m_settings.RvFlg = m_chkReverce->isChecked();
    if (const auto lines = Numbers::parseInt16(m_txtLines->text()))
        m_settings.TextLines = *lines;
    if (m_settings.ConvMode != 0)
        m_settings.TextTable2 = m_txtTxtTbl->text();
    else
        m_settings.TextTable1 = m_txtTxtTbl->text();
}

void CmdTrayWidget::optMode_Click(int index) {
    const QString shown = m_txtTxtTbl->text();
    if (index == 0) {
        if (!shown.isEmpty())
            m_settings.TextTable2 = shown;
        m_txtTxtTbl->setText(m_settings.TextTable1);
    } else {
        if (!shown.isEmpty())
            m_settings.TextTable1 = shown;
        m_txtTxtTbl->setText(m_settings.TextTable2);
    }
}

bool CmdTrayWidget::txtLines_KeyDown(int key) {
    if (key != Qt::Key_Down && key != Qt::Key_Up)
        return false;
    const std::optional<double> value = Numbers::parseNumeric(m_txtLines->text());
    if (!value)
        return true;
    const qint64 lines = Numbers::roundHalfEven(*value);
    if (key == Qt::Key_Down)
        m_txtLines->setText(QString::number(lines + 1));
    else if (lines > 1)
        m_txtLines->setText(QString::number(lines - 1));
    return true;
}

void CmdTrayWidget::cmdSetInit_Click() {
    m_txtTxtTbl->clear();
    m_settings.resetConversionDefaults();
    m_settings.resetAppearanceDefaults();
    m_slider->SliderInit();
    m_slider->SliderView();
    SetToCtrl();
}

bool CmdTrayWidget::eventFilter(QObject* watched, QEvent* event) {
    const auto type = event->type();
    if (watched == m_txtLines) {
        if (type == QEvent::KeyPress)
            return txtLines_KeyDown(static_cast<QKeyEvent*>(event)->key());
        if (type == QEvent::FocusIn)
            m_linesFocus = true;
        else if (type == QEvent::FocusOut)
            m_linesFocus = false;
    } else if (watched == m_txtTxtTbl) {
        if (type == QEvent::FocusIn)
            m_tblFocus = true;
        else if (type == QEvent::FocusOut)
            m_tblFocus = false;
    }
    return false;
}
