// The path fields of the main window: which Browse request fills which
// field and keys, restoring them at start-up, and taking the picker's choice.

#include "lang/messages.h"
#include "mainwindow/form1.h"
#include "mainwindow/settingskeys.h"
#include "picker/shortpath.h"
#include "ui_form1.h"

using kivo::sectionLastFolders;

namespace
{

// In the order start-up restores them.
const std::array<PathRequest, 6> requests{{
    {1, &Ui::Form1::Text1, PathRequest::File, u"headers", Messages::msgnoheaders},
    {3, &Ui::Form1::Text3, PathRequest::File, u"bios", Messages::msgnobios},
    {4, &Ui::Form1::Text4, PathRequest::File, u"bios", Messages::msgnobios},
    {5, &Ui::Form1::Text5, PathRequest::File, u"", Messages::msgnossepath},
    {6, &Ui::Form1::Text6, PathRequest::File, u"", Messages::msgnossepath},
    {7, &Ui::Form1::Text7, PathRequest::Folder, u"", nullptr},
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
