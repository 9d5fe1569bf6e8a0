#pragma once

#include "platform/IRegistry.h"
#include "platform/Services.h"

#include <QDialog>

#include <optional>

class QLabel;
class QPlainTextEdit;
class QPushButton;

// The About box: product name, version line, copyright, the owner's company and name from the
// settings file beside the executable, and a button that starts the system information tool.
class frmAbout : public QDialog {
    Q_OBJECT
public:
    explicit frmAbout(platform::Services& services, QWidget* parent = nullptr);

    // An addition to the caption; it counts when set before the box is first shown.
    void setUsrCaption(const QString& vNewValue) { m_UsrCaption = vNewValue; }

    // Starts the system information tool, or says that there is none.
    void StartSysInfo();
    // Reads one registry value as text into KeyVal; false, with KeyVal empty, when the key or
    // the value cannot be read.
    bool GetKeyValue(platform::IRegistry::Key KeyRoot, const QString& KeyName,
                     const QString& SubKeyRef, QString& KeyVal);

    void setVisible(bool visible) override;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private slots:
    void cmdOK_Click();
    void cmdSysInfo_Click();

private:
    void createControls();
    void Form_Load();
    // Where the system information tool is, by the registry; none when it is not registered.
    std::optional<QString> systemInfoPath();

    platform::Services& m_services;
    QString m_UsrCaption;
    bool m_loaded = false;

    QLabel* picIcon = nullptr;
    QLabel* lblTitle = nullptr;
    QLabel* lblVersion = nullptr;
    QLabel* lblCopyright = nullptr;
    QLabel* lblDescription = nullptr;
    QPlainTextEdit* txtRegistry = nullptr;
    QLabel* lblDisclaimer = nullptr;
    QPushButton* cmdOK = nullptr;
    QPushButton* cmdSysInfo = nullptr;
};
