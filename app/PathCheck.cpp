#include "app/PathCheck.h"

#include "catalogue/FolderPaths.h"
#include "platform/Paths.h"
#include "ui/Form1.h"
#include "ui/Notice.h"

#include <QLineEdit>

namespace app {

void CheckTxt(ui::Form1& form) {
    if (const auto folder = catalogue::programFileFolder(form.Text4->text())) {
        form.Text4->setText(*folder);
        ui::showNotice(form, QStringLiteral("Emu Path named the %1 program itself: it now names "
                                            "its folder")
                                 .arg(QLatin1String(platform::kEmulatorProgram)));
    }
    for (QLineEdit* box : {form.Text4, form.Text5}) {
        if (!box->text().endsWith(platform::kSeparator))
            box->setText(box->text() + platform::kSeparator);
    }
}

} // namespace app
