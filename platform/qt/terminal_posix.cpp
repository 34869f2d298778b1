#include "platform/terminal.h"

#include <QThread>

#include <unistd.h>

namespace orvane::platform {

bool StandardErrorIsTerminal() { return isatty(STDERR_FILENO) == 1; }

unsigned ProcessorCount()
{
    int count = QThread::idealThreadCount();
    return count > 0 ? static_cast<unsigned>(count) : 1u;
}

} // namespace orvane::platform
