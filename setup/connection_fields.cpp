#include "connection_fields.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "error.h"
#include "message_boxes.h"
#include "ssh/known_hosts.h"
#include "text_codec.h"

namespace {

const char* const kTitle = "Setup";
constexpr int kTelnetIndex = 0;
constexpr int kSshIndex = 1;

int StandardPort(int index) {
    return index == kSshIndex ? olmira::kSshPort : olmira::kTelnetPort;
}

}  // namespace

ConnectionFields::ConnectionFields(QWidget& page, QVBoxLayout& layout, MessageBoxes& boxes,
                                   std::string knownHosts, std::function<std::string()> host)
    : page_(page), boxes_(boxes), knownHosts_(std::move(knownHosts)), host_(std::move(host)) {
    auto* row = new QHBoxLayout;
    row->setSpacing(4);
    auto* label = new QLabel(QStringLiteral("Verbindung über"));
    protocol_ = new QComboBox;
    protocol_->setObjectName(QStringLiteral("cbProtocol"));
    protocol_->addItems({QStringLiteral("Telnet"), QStringLiteral("SSH")});
    label->setBuddy(protocol_);
    auto* portLabel = new QLabel(QStringLiteral("Port"));
    port_ = new QSpinBox;
    port_->setObjectName(QStringLiteral("eBoxPort"));
    port_->setRange(1, 65535);
    portLabel->setBuddy(port_);
    forgetKey_ = new QPushButton(QStringLiteral("Gespeicherten Schlüssel vergessen"));
    forgetKey_->setObjectName(QStringLiteral("bForgetKey"));
    forgetKey_->setAutoDefault(false);
    row->addWidget(label);
    row->addWidget(protocol_);
    row->addSpacing(8);
    row->addWidget(portLabel);
    row->addWidget(port_);
    row->addStretch(1);
    layout.addLayout(row);
    auto* keyRow = new QHBoxLayout;
    keyRow->addStretch(1);
    keyRow->addWidget(forgetKey_);
    layout.addLayout(keyRow);
    QObject::connect(protocol_, &QComboBox::currentIndexChanged, &page_,
                     [this] { ProtocolChanged(); });
    QObject::connect(forgetKey_, &QPushButton::clicked, &page_, [this] { bForgetKeyClick(); });
}

void ConnectionFields::Show(const olmira::TSetup& setup) {
    const QSignalBlocker quiet(protocol_);
    protocol_->setCurrentIndex(olmira::UsesSsh(setup) ? kSshIndex : kTelnetIndex);
    port_->setValue(setup.olmira_Port);
    forgetKey_->setEnabled(olmira::UsesSsh(setup));
}

void ConnectionFields::Store(olmira::TSetup& setup) const {
    setup.olmira_Protocol = protocol_->currentIndex() == kSshIndex ? "ssh" : "telnet";
    setup.olmira_Port = port_->value();
}

// A port left at the other way's standard one follows the way; one the
// user chose stays.
void ConnectionFields::ProtocolChanged() {
    const int index = protocol_->currentIndex();
    if (port_->value() == StandardPort(index == kSshIndex ? kTelnetIndex : kSshIndex)) {
        port_->setValue(StandardPort(index));
    }
    forgetKey_->setEnabled(index == kSshIndex);
}

// A file that cannot be rewritten keeps the key, and the box says why.
void ConnectionFields::bForgetKeyClick() {
    const std::string host = host_();
    int forgotten = 0;
    try {
        forgotten = olmira::ForgetHostKeys(knownHosts_, host, port_->value());
    } catch (const olmira::Error& error) {
        boxes_.Show(&page_, QString::fromUtf8(kTitle), QMessageBox::Critical,
                    DecodeText(error.what()));
        return;
    }
    const std::string text =
        forgotten > 0 ? "Der gespeicherte Schlüssel der Box " + host +
                            " ist vergessen. Bei der nächsten Verbindung wird nach ihrem "
                            "Schlüssel gefragt."
                      : "Für die Box " + host + " ist kein Schlüssel gespeichert.";
    boxes_.Show(&page_, QString::fromUtf8(kTitle), QMessageBox::Information, DecodeText(text));
}
