#pragma once

#include <functional>
#include <string>

#include "settings/setup.h"

class MessageBoxes;
class QComboBox;
class QPushButton;
class QSpinBox;
class QVBoxLayout;
class QWidget;

// The network page's way in: Telnet or SSH ("Verbindung über"), its port,
// and a button that forgets the box's stored SSH key on purpose, so that a
// box set up anew can be trusted again.
class ConnectionFields {
public:
    // host gives the box's address as the page shows it now.
    ConnectionFields(QWidget& page, QVBoxLayout& layout, MessageBoxes& boxes,
                     std::string knownHosts, std::function<std::string()> host);

    void Show(const olmira::TSetup& setup);
    void Store(olmira::TSetup& setup) const;

    // Handler of bForgetKey.
    void bForgetKeyClick();

private:
    void ProtocolChanged();

    QWidget& page_;
    MessageBoxes& boxes_;
    const std::string knownHosts_;
    const std::function<std::string()> host_;
    QComboBox* protocol_ = nullptr;
    QSpinBox* port_ = nullptr;
    QPushButton* forgetKey_ = nullptr;
};
