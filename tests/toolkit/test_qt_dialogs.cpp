#include "toolkit/qt_dialogs.h"

#include <QApplication>
#include <QComboBox>
#include <QDeadlineTimer>
#include <QDir>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileDialog>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>

namespace {

// Runs `use` on the next modal window of type T once it is up, from inside the
// event loop that window runs, so no test blocks on a real box: what `use`
// leaves open (a check in it failed) is closed. A window of another kind that
// stays up fails the test and is closed.
template <typename T>
void whenModal(std::function<void(T *)> use)
{
    auto *poll = new QTimer(qApp);
    const QDeadlineTimer deadline(5000);
    QObject::connect(poll, &QTimer::timeout, poll, [=] {
        T *modal = qobject_cast<T *>(QApplication::activeModalWidget());
        if (!modal && !deadline.hasExpired())
            return;
        poll->deleteLater();
        if (modal) {
            const QPointer<T> guard(modal);
            use(modal);
            if (guard && guard->isVisible())
                guard->reject();
            return;
        }
        QTest::qFail("no such modal window came up", __FILE__, __LINE__);
        if (QWidget *other = QApplication::activeModalWidget())
            other->close();
    });
    poll->start(10);
}

// The names the file dialog lists in its current folder.
QStringList listed(QFileDialog *dialog)
{
    const QListView *view = dialog->findChild<QListView *>(QStringLiteral("listView"));
    const QAbstractItemModel *model = view->model();
    QStringList names;
    for (int row = 0; row < model->rowCount(view->rootIndex()); ++row)
        names.append(model->index(row, 0, view->rootIndex()).data().toString());
    names.sort();
    return names;
}

Dialogs::FileSettings fileSettings(const QString &title, int selectedFilter)
{
    Dialogs::FileSettings settings;
    settings.title = title;
    settings.filters = {QStringLiteral("All files (*.*)"), QStringLiteral("Automata (*.tw)")};
    settings.selectedFilter = selectedFilter;
    settings.defaultSuffix = QStringLiteral("tw");
    return settings;
}

} // namespace

class TestQtDialogs : public QObject
{
    Q_OBJECT
    QWidget mainWindow;

private Q_SLOTS:
    // Names, paths and reasons reach the boxes from the user, a file or the system:
    // each box shows them exactly as they are, markup included.
    void boxesShowTextAsItIs_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("a state named in markup") << "State '<b>A</b>' does not exists.";
        QTest::newRow("a path holding markup") << "Save changes to /home/u/<b>x</b>/a.tw";
        QTest::newRow("a line break in markup and an entity") << "a<br>b &amp; <i>c</i>";
    }

    void boxesShowTextAsItIs()
    {
        QFETCH(QString, text);
        QtDialogs dialogs(&mainWindow);

        QString shown;
        whenModal<QMessageBox>([&](QMessageBox *box) {
            const QLabel *label = box->findChild<QLabel *>(QStringLiteral("qt_msgbox_label"));
            shown = QStringLiteral("%1 %2 %3").arg(box->textFormat()).arg(label->textFormat()).arg(label->text());
            box->button(QMessageBox::Cancel)->click();
        });
        QCOMPARE(dialogs.message(text, QStringLiteral("ERROR"), Dialogs::Icon::Critical, Dialogs::Buttons::YesNoCancel),
                 Dialogs::Answer::Cancel);
        QCOMPARE(shown, QStringLiteral("%1 %1 %2").arg(Qt::PlainText).arg(text));

        whenModal<QInputDialog>([&](QInputDialog *box) {
            const QLabel *label = box->findChild<QLabel *>();
            shown = QStringLiteral("%1 %2").arg(label->textFormat()).arg(label->text());
            box->setTextValue(QStringLiteral("typed"));
            box->accept();
        });
        QCOMPARE(dialogs.input(text, QStringLiteral("Add"), QString()), QStringLiteral("typed"));
        QCOMPARE(shown, QStringLiteral("%1 %2").arg(Qt::PlainText).arg(text));
    }

    // The filter list reads as it is written, and "All files (*.*)" lists every
    // file, one without a dot in its name too.
    // A question whose Yes gives something up has No as its default, and
    // Escape answers No.
    void yesNoDefaultsToNo()
    {
        QtDialogs dialogs(&mainWindow);
        QString shown;
        whenModal<QMessageBox>([&](QMessageBox *box) {
            shown = QStringLiteral("%1 %2").arg(box->buttons().size()).arg(box->defaultButton()->text().remove(u'&'));
            QTest::keyClick(box, Qt::Key_Escape);
        });
        QCOMPARE(dialogs.message(QStringLiteral("?"), QStringLiteral("Q"), Dialogs::Icon::Question, Dialogs::Buttons::YesNo),
                 Dialogs::Answer::No);
        QCOMPARE(shown, QStringLiteral("2 No"));
    }

    void filtersListTheirFiles_data()
    {
        QTest::addColumn<int>("filter");
        QTest::addColumn<QStringList>("listed");
        QTest::newRow("All files (*.*)") << 0 << QStringList{"a.tw", "b.txt", "noext"};
        QTest::newRow("Automata (*.tw)") << 1 << QStringList{"a.tw"};
    }

    void filtersListTheirFiles()
    {
        QFETCH(int, filter);
        QFETCH(QStringList, listed);
        QTemporaryDir dir;
        for (const char *name : {"a.tw", "b.txt", "noext"}) {
            QFile file(dir.filePath(QLatin1String(name)));
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
        QtDialogs dialogs(&mainWindow);

        QString captions;
        whenModal<QFileDialog>([&](QFileDialog *dialog) {
            dialog->setDirectory(dir.path());
            const QComboBox *types = dialog->findChild<QComboBox *>(QStringLiteral("fileTypeCombo"));
            captions = types->itemText(0) + u'|' + types->itemText(1) + u'|' + types->currentText();
            QTRY_COMPARE(::listed(dialog), listed);
            dialog->reject();
        });
        QCOMPARE(dialogs.openFile(fileSettings(QStringLiteral("Open"), filter)), std::nullopt);
        QCOMPARE(captions, "All files (*.*)|Automata (*.tw)|" + fileSettings({}, 0).filters[filter]);
    }

    // A name in a folder that does not exist is refused by the Save As dialog
    // itself, which stays open; a name in a folder that exists is taken.
    void saveAsRefusesAMissingFolder()
    {
        QTemporaryDir dir;
        QtDialogs dialogs(&mainWindow);
        Dialogs::FileSettings settings = fileSettings(QStringLiteral("Save As"), 1);
        settings.initialName = dir.filePath(QStringLiteral("NoName"));
        settings.pathMustExist = true;
        settings.confirmOverwrite = true;

        QStringList seen;
        whenModal<QFileDialog>([&](QFileDialog *dialog) {
            auto *name = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
            QPushButton *save = dialog->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Save);
            name->setText(QStringLiteral("missing/new.tw"));
            whenModal<QMessageBox>([&](QMessageBox *box) {
                seen << box->windowTitle() + QStringLiteral(": ") + box->text();
                box->accept();
            });
            save->click();
            seen << (dialog->isVisible() ? QStringLiteral("still open") : QStringLiteral("closed"));
            name->setText(QStringLiteral("new"));
            save->click();
        });
        QCOMPARE(dialogs.saveFile(settings), dir.filePath(QStringLiteral("new.tw")));
        QCOMPARE(seen, (QStringList{"Save As: " + dir.filePath(QStringLiteral("missing"))
                                        + "\nThis folder does not exist. Check the path and try again.",
                                    "still open"}));
    }

    // A dialog of its own (Compare With) offers its own folder and name, and
    // never changes what the File menu's dialog offers at its next use.
    void aDialogOfItsOwnLeavesOpensName()
    {
        QTemporaryDir openDir, compareDir;
        for (const QString &path : {openDir.filePath(QStringLiteral("mine.tw")),
                                    compareDir.filePath(QStringLiteral("theirs.tw"))}) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
        QtDialogs dialogs(&mainWindow);
        Dialogs::FileSettings open = fileSettings(QStringLiteral("Open"), 1);
        open.fileMustExist = true;
        Dialogs::FileSettings compare = fileSettings(QStringLiteral("Compare With"), 1);
        compare.fileMustExist = true;
        compare.ownDialog = QStringLiteral("compare");

        // Chooses `name` in `folder` and notes what the dialog offered first. The
        // name is typed, as a user does: QFileDialog::selectFile leaves the name
        // field alone while the dialog is up and the field has the focus, which
        // it gets only once the window system has activated the dialog.
        QStringList offered;
        const auto choose = [&](const QString &folder, const QString &name) {
            whenModal<QFileDialog>([&, folder, name](QFileDialog *dialog) {
                auto *edit = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
                offered << dialog->windowTitle() + u' ' + QDir(dialog->directory()).dirName() + u' ' + edit->text();
                if (folder.isEmpty())
                    return dialog->reject();
                dialog->setDirectory(folder);
                edit->setText(name);
                static_cast<QDialog *>(dialog)->accept();
            });
        };
        choose(openDir.path(), QStringLiteral("mine.tw"));
        QCOMPARE(dialogs.openFile(open), openDir.filePath(QStringLiteral("mine.tw")));
        choose(compareDir.path(), QStringLiteral("theirs.tw"));
        QCOMPARE(dialogs.openFile(compare), compareDir.filePath(QStringLiteral("theirs.tw")));
        choose({}, {});
        QCOMPARE(dialogs.openFile(open), std::nullopt);
        choose({}, {});
        QCOMPARE(dialogs.openFile(compare), std::nullopt);
        QCOMPARE(offered.mid(2), (QStringList{"Open " + QDir(openDir.path()).dirName() + " mine.tw",
                                              "Compare With " + QDir(compareDir.path()).dirName() + " theirs.tw"}));
    }
};

QTEST_MAIN(TestQtDialogs)
#include "test_qt_dialogs.moc"
