#include "front/way_in.h"

#include "settings/setup.h"
#include "ssh/ssh_link.h"
#include "telnet/telnet_channel.h"

namespace olmira {

WayIn::WayIn(const TSetup& settings, BoxChannel& telnet, TTelnetChannel& telnetChannel,
             SshLink& ssh)
    : settings_(settings),
      telnet_(telnet),
      telnetChannel_(telnetChannel),
      ssh_(ssh),
      current_(&telnet) {}

void WayIn::SetHost(const std::string& host) {
    telnet_.SetHost(host);
    ssh_.SetHost(host);
}

// A connect under way keeps its way; the other one has nothing to end.
void WayIn::ConnectAsync(ConnectDone done) {
    if (!current_->Connecting()) {
        current_->Disconnect();
        current_ = UsesSsh(settings_) ? static_cast<BoxChannel*>(&ssh_) : &telnet_;
    }
    telnetChannel_.Port = settings_.olmira_Port;
    ssh_.Target.port = settings_.olmira_Port;
    ssh_.Target.user = settings_.olmira_User;
    ssh_.Target.password = settings_.olmira_Pass;
    ssh_.Target.knownHosts = settings_.KnownHostsPath;
    current_->ConnectAsync(std::move(done));
}

}  // namespace olmira
