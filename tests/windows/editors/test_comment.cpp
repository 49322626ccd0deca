#include "model/mod_all.h"
#include "toolkit/layout_units.h"
#include "windows/editors/frm_comment.h"

#include <QPlainTextEdit>
#include <QTest>
#include <QTextBlock>

using LayoutUnits::fromPixels;
using LayoutUnits::toPixels;

namespace {

QStringList shownLines(const QPlainTextEdit &box)
{
    QStringList lines;
    for (QTextBlock block = box.document()->begin(); block.isValid(); block = block.next())
        lines.append(block.text());
    return lines;
}

} // namespace

class TestComment : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void roundTrip_data();
    void roundTrip();
    void editingAndSaved_data();
    void editingAndSaved();
    void escapeKeepsTheWindowOpen();
    void resizeRule_data();
    void resizeRule();
    void maximizedAndMinimized();
};

void TestComment::roundTrip_data()
{
    QTest::addColumn<QString>("comment");
    QTest::addColumn<QStringList>("lines");

    QTest::newRow("empty") << "" << QStringList{""};
    QTest::newRow("one line") << "accepts 01" << QStringList{"accepts 01"};
    QTest::newRow("CR LF between lines") << "a\r\nb" << QStringList{"a", "b"};
    QTest::newRow("trailing line break") << "a\r\n" << QStringList{"a", ""};
    QTest::newRow("blank lines") << "\r\n\r\nx" << QStringList{"", "", "x"};
    QTest::newRow("blanks and tabs") << " a\t b " << QStringList{" a\t b "};
    QTest::newRow("non-breaking space") << QString::fromUtf8("a\u00a0b")
                                        << QStringList{QString::fromUtf8("a\u00a0b")};
}

// What the model holds is shown line by line and comes back unchanged.
void TestComment::roundTrip()
{
    QFETCH(QString, comment);
    QFETCH(QStringList, lines);

    modAll model;
    model.comment = comment;
    frm_comment dlg(model, nullptr);
    dlg.show();
    auto *box = dlg.findChild<QPlainTextEdit *>("txt_comment");
    QCOMPARE(shownLines(*box), lines);
    model.comment = QStringLiteral("overwritten on close");
    dlg.close();
    QCOMPARE(model.comment, comment);
}

void TestComment::editingAndSaved_data()
{
    QTest::addColumn<QString>("comment");
    QTest::addColumn<QByteArray>("keys"); // typed at the end; '\n' is Enter, '\t' Shift+Enter
    QTest::addColumn<bool>("deleteAll");
    QTest::addColumn<bool>("saved");
    QTest::addColumn<QString>("stored");

    QTest::newRow("empty, untouched") << "" << QByteArray() << false << true << "";
    QTest::newRow("comment, untouched") << "x" << QByteArray() << false << false << "x";
    QTest::newRow("typed") << "" << QByteArray("ab") << false << false << "ab";
    QTest::newRow("Enter starts a line") << "a" << QByteArray("\nb") << false << false
                                         << "a\r\nb";
    QTest::newRow("Shift+Enter starts a line") << "a" << QByteArray("\tb") << false << false
                                               << "a\r\nb";
    QTest::newRow("all deleted") << "a\r\nb" << QByteArray() << true << false << "";
}

void TestComment::editingAndSaved()
{
    QFETCH(QString, comment);
    QFETCH(QByteArray, keys);
    QFETCH(bool, deleteAll);
    QFETCH(bool, saved);
    QFETCH(QString, stored);

    modAll model;
    model.comment = comment;
    frm_comment dlg(model, nullptr);
    dlg.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dlg));
    auto *box = dlg.findChild<QPlainTextEdit *>("txt_comment");
    box->moveCursor(QTextCursor::End);
    for (char key : keys) {
        if (key == '\n')
            QTest::keyClick(box, Qt::Key_Return);
        else if (key == '\t')
            QTest::keyClick(box, Qt::Key_Return, Qt::ShiftModifier);
        else
            QTest::keyClick(box, key);
    }
    if (deleteAll) {
        box->selectAll();
        QTest::keyClick(box, Qt::Key_Delete);
    }
    QCOMPARE(model.is_saved, saved);
    dlg.close();
    QCOMPARE(model.comment, stored);
    QCOMPARE(model.is_saved, saved);
}

void TestComment::escapeKeepsTheWindowOpen()
{
    modAll model;
    frm_comment dlg(model, nullptr);
    dlg.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dlg));
    QTest::keyClick(dlg.findChild<QPlainTextEdit *>("txt_comment"), Qt::Key_Escape);
    QVERIFY(dlg.isVisible());
}

void TestComment::resizeRule_data()
{
    // Outer sizes in layout units: asked for, and what the window ends with.
    QTest::addColumn<QSize>("asked");
    QTest::addColumn<QSize>("outer");

    QTest::newRow("roomy") << QSize(7500, 6000) << QSize(7500, 6000);
    QTest::newRow("too narrow") << QSize(1500, 6000) << QSize(4000, 6000);
    QTest::newRow("too low") << QSize(7500, 600) << QSize(7500, 3000);
    QTest::newRow("too small both ways") << QSize(15, 15) << QSize(4000, 3000);
    QTest::newRow("just the minimum") << QSize(4005, 3000) << QSize(4005, 3000);
}

void TestComment::resizeRule()
{
    QFETCH(QSize, asked);
    QFETCH(QSize, outer);

    modAll model;
    frm_comment dlg(model, nullptr);
    dlg.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dlg));
    const QSize frame = dlg.frameGeometry().size() - dlg.size();
    dlg.resize(QSize(toPixels(asked.width()), toPixels(asked.height())) - frame);
    QCoreApplication::processEvents();

    QCOMPARE(dlg.frameGeometry().size(), QSize(toPixels(outer.width()), toPixels(outer.height())));
    const QRect box = dlg.findChild<QPlainTextEdit *>("txt_comment")->geometry();
    QCOMPARE(box, QRect(0, 0, toPixels(outer.width() - 150), toPixels(outer.height() - 550)));
}

void TestComment::maximizedAndMinimized()
{
    modAll model;
    frm_comment dlg(model, nullptr);
    dlg.showMaximized();
    QVERIFY(QTest::qWaitForWindowExposed(&dlg));
    QTRY_VERIFY(dlg.isMaximized());
    auto *box = dlg.findChild<QPlainTextEdit *>("txt_comment");
    const QSize outer = dlg.frameGeometry().size();
    QVERIFY(outer.width() > toPixels(4000));
    QCOMPARE(box->size(), QSize(toPixels(fromPixels(outer.width()) - 150),
                                toPixels(fromPixels(outer.height()) - 550)));

    const QRect before = box->geometry();
    dlg.setWindowState(Qt::WindowMinimized);
    QVERIFY(dlg.isMinimized());
    dlg.resize(toPixels(4500), toPixels(3500));
    QCoreApplication::processEvents();
    QCOMPARE(box->geometry(), before);
}

QTEST_MAIN(TestComment)
#include "test_comment.moc"
