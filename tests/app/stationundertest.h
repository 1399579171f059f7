#pragma once

// A window started in its own empty working directory, answered by the scripted operator, and the ways
// the window tests reach its controls by objectName.

#include "app/qintarform.h"
#include "register/texttable.h"
#include "scripteddialogs.h"

#include <QDir>
#include <QFile>
#include <QTableView>
#include <QTemporaryDir>
#include <memory>

struct TStationUnderTest
{
    QTemporaryDir folder;
    TScriptedDialogs dialogs;
    std::unique_ptr<TQintarForm> form;
};
using TStation = TStationUnderTest;

// blockDataFolder puts a plain file where the Data folder would be made.
inline std::unique_ptr<TStation> Start(bool blockDataFolder = false)
{
    auto station = std::make_unique<TStation>();
    if (blockDataFolder) {
        QFile blocker(station->folder.filePath(QStringLiteral("Data")));
        blocker.open(QIODevice::WriteOnly);
    }
    const QString startDirectory = QDir::currentPath();
    QDir::setCurrent(station->folder.path());
    station->form = std::make_unique<TQintarForm>(&station->dialogs);
    QDir::setCurrent(startDirectory);
    return station;
}

template <typename T> T *Find(QWidget &form, const char *name)
{
    T *widget = form.findChild<T *>(QLatin1String(name));
    if (!widget)
        qFatal("no control named %s", name);
    return widget;
}

inline TTextTable *Table(TQintarForm &form, const char *name)
{
    return qobject_cast<TTextTable *>(Find<QTableView>(form, name)->model());
}

inline void PutPoint(TQintarForm &form)
{
    Table(form, "sgData")
        ->SetRowTexts(1, {QStringLiteral("1"), QStringLiteral("1.000"), QStringLiteral("2.000"),
                          QStringLiteral("3.000")});
}
