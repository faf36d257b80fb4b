#include "settings/fomFontSet.h"

#include "convert/FontSetup.h"
#include "platform/MessageBoxes.h"
#include "platform/Numbers.h"
#include "settings/FontDesc.h"
#include "settings/FontNameList.h"
#include "settings/FontSetCheck.h"
#include "textview/TextPrint.h"
#include "ui_fomFontSet.h"

#include <QPainter>

#include <optional>

fomFontSet::fomFontSet(SettingsRecord& settings, QWidget* parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::fomFontSet>()), m_settings(settings) {
    m_ui->setupUi(this);
    setFixedSize(size());
    const auto view = [this] { FontView(); };
    connect(m_ui->cboFontName, &QComboBox::currentIndexChanged, this, view);
    connect(m_ui->cboFontSize, &QComboBox::editTextChanged, this, view);
    connect(m_ui->cboFontSize, &QComboBox::activated, this, view);
    connect(m_ui->cboLineSpace, &QComboBox::editTextChanged, this, view);
    connect(m_ui->cboLineSpace, &QComboBox::activated, this, view);
    for (QCheckBox* box :
         {m_ui->chkBold, m_ui->chkItalic, m_ui->chkUnderline, m_ui->chkStrikethrough})
        connect(box, &QCheckBox::toggled, this, view);
    connect(m_ui->cmdExit, &QPushButton::clicked, this, &fomFontSet::cmdExit_Click);
    connect(m_ui->cmdCancel, &QPushButton::clicked, this, &fomFontSet::cmdCancel_Click);
    Form_Load();
}

fomFontSet::~fomFontSet() = default;

void fomFontSet::Form_Load() {
    m_loading = true;
    m_ui->chkItalic->setChecked(m_settings.FontItalic);
    m_ui->chkBold->setChecked(m_settings.FontBold);
    m_ui->chkStrikethrough->setChecked(m_settings.FontStrikethrough);
    m_ui->chkUnderline->setChecked(m_settings.FontUnderline);
    FontNameSet(m_settings.FontName);
    FontSizeSet(m_settings.FontSize);
    LineSpaceSet(m_settings.LineSpace);
    m_loading = false;
    FontView();
}

void fomFontSet::FontNameSet(const QString& name) {
    QStringList names = FontNameList::current();
    if (!name.isEmpty() && !names.contains(name))
        names = FontNameList::fromFamilies(names + QStringList{name});
    m_ui->cboFontName->clear();
    m_ui->cboFontName->addItems(names);
    m_ui->cboFontName->setCurrentIndex(static_cast<int>(names.lastIndexOf(name)));
}

void fomFontSet::FontSizeSet(double size) {
    static const int sizes[] = {2,  3,  4,  5,  6,  7,  8,  9,  10, 11, 12,
                                14, 16, 18, 20, 22, 24, 26, 28, 36, 48, 72};
    m_ui->cboFontSize->clear();
    int selected = -1;
    for (const int entry : sizes) {
        if (selected < 0 && entry == size)
            selected = m_ui->cboFontSize->count();
        m_ui->cboFontSize->addItem(QString::number(entry));
    }
    m_ui->cboFontSize->setCurrentIndex(selected);
    m_ui->cboFontSize->setEditText(Numbers::formatDouble(size));
}

void fomFontSet::LineSpaceSet(double lineSpace) {
    m_ui->cboLineSpace->clear();
    int selected = -1;
    for (int entry = -20; entry <= 20; ++entry) {
        if (selected < 0 && entry == lineSpace)
            selected = m_ui->cboLineSpace->count();
        m_ui->cboLineSpace->addItem(QString::number(entry));
    }
    m_ui->cboLineSpace->setCurrentIndex(selected);
    m_ui->cboLineSpace->setEditText(Numbers::formatDouble(lineSpace));
}

void fomFontSet::FontView() {
    if (m_loading || m_ui->cboFontName->currentText().isEmpty() ||
        m_ui->cboFontSize->currentText().isEmpty())
        return;
    m_sampleFont.name = m_ui->cboFontName->currentText();
    const std::optional<double> size = Numbers::parseNumeric(m_ui->cboFontSize->currentText());
    if (size && *size > 0 && *size <= 400)
        m_sampleFont.size = *size;
    m_sampleFont.italic = m_ui->chkItalic->isChecked();
    m_sampleFont.bold = m_ui->chkBold->isChecked();
    m_sampleFont.strikethrough = m_ui->chkStrikethrough->isChecked();
    m_sampleFont.underline = m_ui->chkUnderline->isChecked();
    const double lineSpace = Numbers::parseNumeric(m_ui->cboLineSpace->currentText()).value_or(0.0);

    const QString lines[] = {FontDesc(m_sampleFont, lineSpace),
                             QStringLiteral("1122334455|6677889900|1122334455|"),
                             QStringLiteral("１２３４５|６７８９０|１２３４５|"),
                             QStringLiteral("AABBCCDDEE|FFGGHHIIJJ|KKLLMMNNOO|"),
                             QStringLiteral("ＡＢＣＤＥ|ＦＧＨＩＪ|ＫＬＭＮＯ|"),
                             m_settings.TextTable1,
                             m_settings.TextTable2};
    m_sampleText.clear();
    for (const QString& line : lines)
        m_sampleText += line + QStringLiteral("\r\n");

    SettingsRecord sampleSettings;
    sampleSettings.FontName = m_sampleFont.name;
    sampleSettings.FontSize = m_sampleFont.size;
    sampleSettings.FontItalic = m_sampleFont.italic;
    sampleSettings.FontBold = m_sampleFont.bold;
    sampleSettings.FontStrikethrough = m_sampleFont.strikethrough;
    sampleSettings.FontUnderline = m_sampleFont.underline;
    const QFont font = FontSetup::textFont(sampleSettings);

    const QRect inner = m_ui->picFontSample->contentsRect();
    // In the screen's pixels, so that a scaled screen shows the sample sharp.
    const qreal ratio = m_ui->picFontSample->devicePixelRatioF();
    m_sampleImage = QImage(inner.size() * ratio, QImage::Format_RGB32);
    m_sampleImage.setDevicePixelRatio(ratio);
    m_sampleImage.fill(palette().color(QPalette::Base));
    QPainter painter(&m_sampleImage);
    painter.setFont(font);
    painter.setPen(palette().color(QPalette::Text));
    TextPrint(painter, QPointF(0, 0), m_sampleText, lineSpace);
    painter.end();
    m_ui->picFontSample->setPixmap(QPixmap::fromImage(m_sampleImage));
    m_ui->lblFontUsed->setText(QStringLiteral("表示に使うﾌｫﾝﾄ：") +
                               FontSetup::resolvedFamily(font));
}

void fomFontSet::cmdExit_Click() {
    const QString sizeText = m_ui->cboFontSize->currentText();
    const QString spaceText = m_ui->cboLineSpace->currentText();
    const QString refusal = FontSetCheck(sizeText, spaceText);
    if (!refusal.isEmpty()) {
        MessageBoxes::ok(this, refusal, MessageBoxes::Icon::Exclamation);
        return;
    }
    m_settings.FontName = m_ui->cboFontName->currentText();
    m_settings.FontSize = Numbers::parseNumeric(sizeText).value_or(m_settings.FontSize);
    m_settings.LineSpace = Numbers::parseNumeric(spaceText).value_or(m_settings.LineSpace);
    m_settings.FontItalic = m_ui->chkItalic->isChecked();
    m_settings.FontBold = m_ui->chkBold->isChecked();
    m_settings.FontStrikethrough = m_ui->chkStrikethrough->isChecked();
    m_settings.FontUnderline = m_ui->chkUnderline->isChecked();
    accept();
}

void fomFontSet::cmdCancel_Click() {
    reject();
}

bool fomFontSet::showModal(SettingsRecord& settings, QWidget* parent) {
    fomFontSet dialog(settings, parent);
    return dialog.exec() == QDialog::Accepted;
}
