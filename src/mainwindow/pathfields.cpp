// The path fields of the main window: which Browse request fills which
// field and keys, restoring them at start-up, and taking the picker's choice.

#include "lang/messages.h"
#include "mainwindow/describe.h"
#include "mainwindow/form1.h"
#include "mainwindow/settingskeys.h"
#include "picker/shortpath.h"
#include "ui_form1.h"

using kivo::sectionLastFolders;

namespace
{

// In the order start-up restores them.
const std::array<PathRequest, 6> requests{{
    {1, &Ui::Form1::Text1, &Ui::Form1::Command1, PathRequest::File, u"headers",
     Messages::msgnoheaders},
    {3, &Ui::Form1::Text3, &Ui::Form1::Command3, PathRequest::File, u"bios", Messages::msgnobios},
    {4, &Ui::Form1::Text4, &Ui::Form1::Command4, PathRequest::File, u"bios", Messages::msgnobios},
    {5, &Ui::Form1::Text5, &Ui::Form1::Command5, PathRequest::File, u"", Messages::msgnossepath},
    {6, &Ui::Form1::Text6, &Ui::Form1::Command6, PathRequest::File, u"", Messages::msgnossepath},
    {7, &Ui::Form1::Text7, &Ui::Form1::Command7, PathRequest::Folder, u"", nullptr},
}};

} // namespace

const PathRequest *Form1::pathRequest(qint16 code)
{
    const auto found =
        std::find_if(requests.cbegin(), requests.cend(),
                     [code](const PathRequest &request) { return request.code == code; });
    return found == requests.cend() ? nullptr : &*found;
}

PathField *Form1::fieldOf(const PathRequest &request) const
{
    return (*ui).*request.field;
}

// What a field is for, as a screen reader names it: its own name, or its
// label's text, without the label's colon.
static QString purposeOf(const Form1 &form, const PathField &field)
{
    QString purpose = field.accessibleName();
    if (purpose.isEmpty())
        for (const QLabel *label : form.findChildren<QLabel *>())
            if (label->buddy() == &field)
                purpose = label->text();
    if (purpose.endsWith(u':'))
        purpose.chop(1);
    return purpose;
}

void Form1::describePathButtons()
{
    for (const PathRequest &request : requests) {
        const PathField &field = *fieldOf(request);
        describe(*((*ui).*request.button),
                 purposeOf(*this, field) + QStringLiteral(": ") + field.text());
    }
}

void Form1::restorePathFields()
{
    for (const PathRequest &request : requests) {
        PathField *const field = fieldOf(request);
        const QString text =
            platform.settings.get(sectionLastFolders, kivo::key::text(request.code));
        if (!text.isEmpty()) {
            field->setText(text);
            field->setTag(
                platform.settings.get(sectionLastFolders, kivo::key::texttag(request.code)));
        } else if (request.kind == PathRequest::Folder) {
            // No SSE folder saved: the program's own, which it must be.
            const QString ownFolder = platform.ownFolder.path();
            field->setText(ownFolder);
            field->setTag(GetShortPathName(ownFolder));
        }
    }
}

void Form1::handOver(const QString &fileName, const QString &folder)
{
    if (const PathRequest *pending = pathRequest(commandreqn)) {
        PathField *const field = fieldOf(*pending);
        if (pending->kind == PathRequest::Folder) {
            field->setText(folder);
            field->setTag(GetShortPathName(folder));
        } else {
            field->setText(fileName);
            field->setTag(fileName);
        }
        platform.settings.save(sectionLastFolders, kivo::key::text(pending->code), field->text());
        platform.settings.save(sectionLastFolders, kivo::key::texttag(pending->code), field->tag());
    }
    fixssekivopath();
}
