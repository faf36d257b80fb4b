#pragma once

#include <QDialog>

#include <memory>

namespace Ui {
class fomVersion;
}

// The about box "ﾊﾞｰｼﾞｮﾝ情報": the program's icon, its name and version ("Charloom Version 1.4")
// and a short legal notice.
class fomVersion : public QDialog {
    Q_OBJECT

public:
    // Opens the about box modally over parent.
    static void showModal(QWidget* parent);

    explicit fomVersion(QWidget* parent = nullptr);
    ~fomVersion() override;

    void cmdOk_Click();

private:
    void Form_Load();

    std::unique_ptr<Ui::fomVersion> m_ui;
};
