#include "ui/HelpText.h"

#include <QStringList>

namespace ui {

QString helpText() {
    // clang-format off
    static const char* const lines[] = {
        "------------",
        "  Controls",
        "------------",
        "",
        " Function                                Key Assignment",
        " --------                                --------------",
        " Exit                                    Escape",
        " Reset                                   Alt-R",
        " Clear NVRAM                             Alt-N",
        " Toggle Mouse Cursor (Full Screen Mode)  Alt-I",
        " Toggle 60 Hz Frame Limiting             Alt-T",
        " Save State                              F5",
        " Load State                              F7",
        " Change Save Slot                        F6",
        "",
        "---------------------------------------------------------",
        "",
        "",
        "Default settings are given below.",
        "",
        " Emulator Functions  Input           Default Assignment",
        " ---------------     -----           ------------------",
        " All                 Start     1             1",
        " All                 Start     2             2",
        " All                 Coin      1             3",
        " All                 Coin      2             4",
        " All                 Service   A             5",
        " All                 Test      A             6",
        " All                 Service   B             7",
        " All                 Test      B             8",
        "--------------------------------------------------------",
    };
    // clang-format on
    QString text;
    for (const char* line : lines)
        text += QLatin1String(line) + QLatin1String("\r\n");
    return text;
}

} // namespace ui
