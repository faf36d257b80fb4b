#include "settings/fomColorSet.h"

#include "settings/SwatchColors.h"
#include "textview/TextColors.h"
#include "ui_fomColorSet.h"

#include <QIcon>
#include <QPainter>
#include <QPixmap>

// What each swatch stands for, shown as its tool tip.
static const char16_t* const swatchNames[] = {u"ウィンドウの背景色",
                                              u"ボタンの文字色",
                                              u"画像の色",
                                              u"赤",
                                              u"黄",
                                              u"緑",
                                              u"水色",
                                              u"青",
                                              u"紫",
                                              u"白",
                                              u"黒"};

// A swatch: the plain colour, or for ImageColor a hatched picture on the button face, inside a
// one-pixel outline; drawn in the screen's pixels (ratio), so that a scaled screen shows it sharp.
static QIcon swatchIcon(qint32 reference, const QPalette& palette, QSize size, qreal ratio) {
    QPixmap pixmap(size * ratio);
    pixmap.setDevicePixelRatio(ratio);
    pixmap.fill(palette.color(QPalette::Shadow));
    QPainter painter(&pixmap);
    const QRect inside = QRect(QPoint(0, 0), size).adjusted(1, 1, -1, -1);
    painter.fillRect(inside, TextColors::resolve(reference));
    if (reference == ColorRef::ImageColor)
        painter.fillRect(inside, QBrush(palette.color(QPalette::ButtonText), Qt::DiagCrossPattern));
    painter.end();
    return QIcon(pixmap);
}

fomColorSet::fomColorSet(SettingsRecord& settings, QWidget* parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::fomColorSet>()), m_settings(settings) {
    m_ui->setupUi(this);
    setFixedSize(size());
    m_fore = makeRow(QStringLiteral("optForeColor"), m_foreGroup);
    m_back = makeRow(QStringLiteral("optBackColor"), m_backGroup);
    connect(m_ui->cmdExit, &QPushButton::clicked, this, &fomColorSet::cmdExit_Click);
    connect(m_ui->cmdCancel, &QPushButton::clicked, this, &fomColorSet::cmdCancel_Click);
    Form_Load();
}

fomColorSet::~fomColorSet() = default;

QList<QAbstractButton*> fomColorSet::makeRow(const QString& prefix, QButtonGroup& group) {
    QList<QAbstractButton*> row;
    const QList<qint32>& colors = SwatchColors::references();
    for (qsizetype i = 0; i < colors.size(); ++i) {
        auto* button = findChild<QAbstractButton*>(prefix + QString::number(i));
        button->setIcon(
            swatchIcon(colors[i], palette(), button->iconSize(), button->devicePixelRatioF()));
        button->setToolTip(QString::fromUtf16(swatchNames[i]));
        group.addButton(button, static_cast<int>(i));
        row.append(button);
    }
    group.setExclusive(true);
    return row;
}

void fomColorSet::Form_Load() {
    const QList<qint32>& colors = SwatchColors::references();
    for (qsizetype i = 0; i < colors.size(); ++i) {
        if (colors[i] == m_settings.ForeColor)
            m_fore[i]->setChecked(true);
        if (colors[i] == m_settings.BackColor)
            m_back[i]->setChecked(true);
    }
}

void fomColorSet::cmdExit_Click() {
    const QList<qint32>& colors = SwatchColors::references();
    for (qsizetype i = 0; i < colors.size(); ++i) {
        if (m_fore[i]->isChecked())
            m_settings.ForeColor = colors[i];
        if (m_back[i]->isChecked())
            m_settings.BackColor = colors[i];
    }
    accept();
}

void fomColorSet::cmdCancel_Click() {
    reject();
}

bool fomColorSet::showModal(SettingsRecord& settings, QWidget* parent) {
    fomColorSet dialog(settings, parent);
    return dialog.exec() == QDialog::Accepted;
}
