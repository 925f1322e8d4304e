#pragma once
// The serial line the window and saroko-cli open the recorder's port with: Qt Serial Port's on
// Linux; on Windows the system's own serial calls, whose waits hand the pauses to Qt's event
// loop in the same way, so that the windows keep painting.
#ifdef _WIN32
#include <QCoreApplication>

#include "platform/Win32SerialLine.h"

namespace saroko {

class CSystemSerialLine final : public CWin32SerialLine {
public:
    CSystemSerialLine()
        : CWin32SerialLine([] {
              if (QCoreApplication::instance())
                  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
          }) {}
};

} // namespace saroko
#else
#include "platform/SerialPortLine.h"

namespace saroko {
using CSystemSerialLine = CQtSerialLine;
} // namespace saroko
#endif
