#include "conversation/telnet_link.h"

namespace olmira {

void TelnetLink::Attach(BoxListener& listener) {
    telnet_.OnDataAvailable = [&listener](TTelnetChannel&, const std::string& buffer) {
        listener.TelnetDataAvailable(buffer);
    };
    telnet_.OnReaderEnded = [&listener] { listener.ConnectionLost(); };
}

}  // namespace olmira
