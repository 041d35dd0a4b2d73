#include "CMDocManager.h"

#include <QCoreApplication>
#include <QFile>

#include "app/DesktopExport.h"
#include "app/ShellRegistration.h"
#include "platform/registry/Registry.h"

void CMDocManager::RegisterShellFileTypes(bool) {
    int index = 1;
    for (const auto& t : Templates()) {
        ShellRegistrationInput in;
        in.executablePath = QCoreApplication::applicationFilePath().toStdString();
        // The executable holds one icon, at index 0, and no other.
        in.executableHasIcon = false;
        in.templateIndex = index++;
        t->GetDocString(in.windowTitle, framework::DocTemplate::windowTitle);
        t->GetDocString(in.extensionList, framework::DocTemplate::filterExt);
        t->GetDocString(in.fileTypeId, framework::DocTemplate::regFileTypeId);
        in.fileTypeNameReadable = t->GetDocString(in.fileTypeName, framework::DocTemplate::regFileTypeName);
        in.ownedElsewhere = ExtensionOwnedByAnotherType;
        const ShellRegistrationResult result = ::RegisterShellFileTypes(orv::reg::CurrentRegistry(), in);
        if (!result.fileTypeWritten) continue;

        DesktopExportInput desktop;
        desktop.executablePath = in.executablePath;
        desktop.extensions = result.claimedExtensions;
        t->GetDocString(desktop.comment, framework::DocTemplate::filterName);
        for (int size : {96, 48, 32, 16}) {
            QFile icon(QString(":/icons/icon-%1.png").arg(size));
            if (icon.open(QIODevice::ReadOnly)) desktop.icons.emplace_back(size, icon.readAll().toStdString());
        }
        ExportToDesktop(desktop);
    }
}
