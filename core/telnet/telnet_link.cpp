#include "telnet/telnet_link.h"

#include "session/box_session.h"

namespace olmira {

void TelnetLink::Attach(BoxSession& session) {
    telnet_.OnDataAvailable = [&session](TTelnetChannel&, const std::string& buffer) {
        session.TelnetDataAvailable(buffer);
    };
    telnet_.OnReaderEnded = [&session] { session.ConnectionLost(); };
}

}  // namespace olmira
