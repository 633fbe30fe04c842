#include "catalogue/PathCheck.h"

#include "platform/Paths.h"
#include "ui/Form1.h"

#include <QLineEdit>

namespace catalogue {

void CheckTxt(ui::Form1& form) {
    for (QLineEdit* box : {form.Text4, form.Text5}) {
        if (!box->text().endsWith(platform::kSeparator))
            box->setText(box->text() + platform::kSeparator);
    }
}

} // namespace catalogue
