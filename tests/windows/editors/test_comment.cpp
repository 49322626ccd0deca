#include "model/model_edits.h"
#include "windows/editors/frm_comment.h"

#include <QPlainTextEdit>
#include <QTest>

class TestComment : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Opens the editor on `comment`, types `keys` into it with Shift held ('\r' being
    // Enter) and closes it: the comment stored, and whether the automaton still counts
    // as saved. Every change of the text, filling the box included, marks it as changed.
    void roundTrip()
    {
        const auto edit = [](const QString &comment, const QString &keys) {
            modAll model;
            model.comment = comment;
            ModelEdits edits(model);
            frm_comment dlg(edits, nullptr);
            dlg.show();
            QTest::keyClicks(dlg.findChild<QPlainTextEdit *>("txt_comment"), keys, Qt::ShiftModifier);
            model.comment = QStringLiteral("stale"); // closing stores the text, changed or not
            dlg.close();
            return QStringList{model.comment, model.is_saved ? "saved" : "changed"};
        };
        QCOMPARE(edit("", ""), QStringList({"", "saved"}));
        // Line breaks as CR LF, the last one and a non-breaking space kept.
        QCOMPARE(edit("a\r\n\u00a0\r\n", ""), QStringList({"a\r\n\u00a0\r\n", "changed"}));
        QCOMPARE(edit("", "a\rb"), QStringList({"a\r\nb", "changed"}));
    }

    // In pixels: the window keeps an outer size of at least 267x200 (4000x3000 layout
    // units); the box fills it but for 10 across and 37 down (150 and 550 units).
    // Nothing changes while the window is minimized.
    void resizeRule()
    {
        modAll model;
        ModelEdits edits(model);
        frm_comment dlg(edits, nullptr);
        dlg.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));
        auto *box = dlg.findChild<QPlainTextEdit *>("txt_comment");
        const auto sizes = [&](QSize asked) { // outer size, box size
            dlg.resize(asked - (dlg.frameGeometry().size() - dlg.size()));
            return QList<QSize>{dlg.frameGeometry().size(), box->size()};
        };
        QCOMPARE(sizes({500, 400}), QList<QSize>({{500, 400}, {490, 363}}));
        QCOMPARE(sizes({100, 40}), QList<QSize>({{267, 200}, {257, 163}}));
        dlg.setWindowState(Qt::WindowMinimized);
        QCOMPARE(sizes({700, 600}).last(), QSize(257, 163));
    }
};

QTEST_MAIN(TestComment)
#include "test_comment.moc"
