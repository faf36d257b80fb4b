#include "platform/fomVersion.h"

#include "platform/VersionText.h"
#include "ui_fomVersion.h"

#include <QGuiApplication>
#include <QIcon>
#include <QPixmap>

// The program's icon in the screen's pixels (ratio): the application's when one is set, else the
// one built in.
static QPixmap programIcon(QSize size, qreal ratio) {
    const QIcon icon = QGuiApplication::windowIcon();
    if (!icon.isNull())
        return icon.pixmap(size, ratio);
    QPixmap pixmap = QPixmap(QStringLiteral(":/icons/charloom-48.png"))
                         .scaled(size * ratio, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    pixmap.setDevicePixelRatio(ratio);
    return pixmap;
}

fomVersion::fomVersion(QWidget* parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::fomVersion>()) {
    m_ui->setupUi(this);
    setFixedSize(size());
    connect(m_ui->cmdOk, &QPushButton::clicked, this, &fomVersion::cmdOk_Click);
    Form_Load();
}

fomVersion::~fomVersion() = default;

void fomVersion::Form_Load() {
    m_ui->Image1->setPixmap(programIcon(m_ui->Image1->size(), m_ui->Image1->devicePixelRatioF()));
    m_ui->Label1->setText(VersionText::currentProductLine());
    m_ui->Label2->setText(QStringLiteral("使用条件："));
    m_ui->Label3->setText(QStringLiteral("画像をﾃｷｽﾄに変換します。このプログラムは現状のまま"
                                         "提供され、いかなる保証もありません。"));
}

void fomVersion::cmdOk_Click() {
    accept();
}

void fomVersion::showModal(QWidget* parent) {
    fomVersion dialog(parent);
    dialog.exec();
}
