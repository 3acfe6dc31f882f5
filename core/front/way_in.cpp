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

// A change of way ends whatever the other way still holds; a connect under
// way keeps its way, and a second connect on the same way is refused there.
void WayIn::ConnectAsync(ConnectDone done) {
    BoxChannel* chosen = UsesSsh(settings_) ? static_cast<BoxChannel*>(&ssh_) : &telnet_;
    if (chosen != current_ && !current_->Connecting()) {
        current_->Disconnect();
        current_ = chosen;
    }
    telnetChannel_.Port = settings_.olmira_Port;
    ssh_.Target.port = settings_.olmira_Port;
    ssh_.Target.user = settings_.olmira_User;
    ssh_.Target.password = settings_.olmira_Pass;
    ssh_.Target.knownHosts = settings_.KnownHostsPath;
    current_->ConnectAsync(std::move(done));
}

}  // namespace olmira
