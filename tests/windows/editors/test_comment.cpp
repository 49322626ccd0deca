#include "model/mod_all.h"
#include "windows/editors/frm_comment.h"

#include <QPlainTextEdit>
#include <QTest>

class TestComment : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void roundTrip_data()
    {
        QTest::addColumn<QString>("comment");
        QTest::addColumn<QString>("keys"); // typed into the box, '\r' being Enter
        QTest::addColumn<bool>("shift"); // held while typing
        QTest::addColumn<QString>("stored");
        QTest::newRow("empty") << "" << "" << false << "";
        QTest::newRow("CR LF between lines") << "a\r\nb" << "" << false << "a\r\nb";
        QTest::newRow("trailing line break") << "a\r\n" << "" << false << "a\r\n";
        QTest::newRow("blank line, tab, NBSP") << "\r\n\t\u00a0" << "" << false << "\r\n\t\u00a0";
        QTest::newRow("typed, Shift+Enter") << "" << "a\rb" << true << "a\r\nb";
    }
    // Every change of the text, filling the box included, marks the automaton as
    // changed; closing stores the text.
    void roundTrip()
    {
        QFETCH(QString, comment);
        QFETCH(QString, keys);
        QFETCH(bool, shift);
        modAll model;
        model.comment = comment;
        frm_comment dlg(model, nullptr);
        dlg.show();
        QTest::keyClicks(dlg.findChild<QPlainTextEdit *>("txt_comment"), keys,
                         shift ? Qt::ShiftModifier : Qt::NoModifier);
        model.comment = QStringLiteral("stale");
        dlg.close();
        QTEST(model.comment, "stored");
        QCOMPARE(model.is_saved, comment.isEmpty() && keys.isEmpty());
    }

    // In pixels: the window keeps an outer size of at least 267x200 (4000x3000 layout
    // units); the box fills it but for 10 across and 37 down (150 and 550 units).
    // Nothing changes while the window is minimized.
    void resizeRule()
    {
        modAll model;
        frm_comment dlg(model, nullptr);
        dlg.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));
        auto *box = dlg.findChild<QPlainTextEdit *>("txt_comment");
        QStringList sizes; // outer size, box size
        for (QSize asked : {QSize(500, 400), QSize(100, 400), QSize(500, 40)}) {
            dlg.resize(asked - (dlg.frameGeometry().size() - dlg.size()));
            const QSize outer = dlg.frameGeometry().size();
            sizes << QStringLiteral("%1x%2 %3x%4").arg(outer.width()).arg(outer.height())
                         .arg(box->width()).arg(box->height());
        }
        QCOMPARE(sizes, QStringList({"500x400 490x363", "267x400 257x363", "500x200 490x163"}));
        dlg.setWindowState(Qt::WindowMinimized);
        dlg.resize(700, 600);
        QCOMPARE(box->size(), QSize(490, 163));
    }
};

QTEST_MAIN(TestComment)
#include "test_comment.moc"
