#include "model/mod_all.h"
#include "toolkit/layout_units.h"
#include "windows/editors/frm_comment.h"

#include <QPlainTextEdit>
#include <QTest>
#include <QTextBlock>

using LayoutUnits::fromPixels;
using LayoutUnits::toPixels;

namespace {

// A comment editor opened, as the main window opens it, on a model holding `comment`.
struct OpenEditor
{
    explicit OpenEditor(const QString &comment = {})
        : dlg((model.comment = comment, model), nullptr) // the model is made first
    {
        dlg.show();
    }

    modAll model;
    frm_comment dlg;
    QPlainTextEdit *box = dlg.findChild<QPlainTextEdit *>("txt_comment");
};

// The text box's size for a window of the given outer size in pixels.
QSize boxFor(QSize outer)
{
    return {toPixels(fromPixels(outer.width()) - 150), toPixels(fromPixels(outer.height()) - 550)};
}

} // namespace

class TestComment : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void openEditClose_data();
    void openEditClose();
    void resizeRule_data();
    void resizeRule();
    void maximizedAndMinimized();
};

void TestComment::openEditClose_data()
{
    QTest::addColumn<QString>("comment");
    QTest::addColumn<QStringList>("lines"); // shown on opening
    // Typed at the end: '\n' is Enter, '\v' Shift+Enter, '\b' deletes everything.
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("stored");
    QTest::newRow("empty") << "" << QStringList{""} << "" << "";
    QTest::newRow("CR LF between lines") << "a\r\nb" << QStringList{"a", "b"} << "" << "a\r\nb";
    QTest::newRow("trailing line break") << "a\r\n" << QStringList{"a", ""} << "" << "a\r\n";
    QTest::newRow("blank line, blanks and tabs") << "\r\n a\t " << QStringList{"", " a\t "} << ""
                                                 << "\r\n a\t ";
    QTest::newRow("non-breaking space") << "a\u00a0b" << QStringList{"a\u00a0b"} << ""
                                        << "a\u00a0b";
    QTest::newRow("typed") << "" << QStringList{""} << "ab" << "ab";
    QTest::newRow("Enter starts a line") << "a" << QStringList{"a"} << "\nb" << "a\r\nb";
    QTest::newRow("Shift+Enter starts a line") << "a" << QStringList{"a"} << "\vb" << "a\r\nb";
    QTest::newRow("all deleted") << "a\r\nb" << QStringList{"a", "b"} << "\b" << "";
}

// The model's comment is shown line by line, every change (filling the box
// included) marks the automaton as changed, and closing stores the text.
void TestComment::openEditClose()
{
    QFETCH(QString, comment);
    QFETCH(QStringList, lines);
    QFETCH(QString, keys);
    QFETCH(QString, stored);

    OpenEditor editor(comment);
    QVERIFY(QTest::qWaitForWindowExposed(&editor.dlg));
    QStringList shown;
    for (QTextBlock block = editor.box->document()->begin(); block.isValid(); block = block.next())
        shown.append(block.text());
    QCOMPARE(shown, lines);

    editor.box->moveCursor(QTextCursor::End);
    for (QChar key : keys) {
        if (key == u'\b')
            editor.box->selectAll();
        const auto [code, modifiers] = key == u'\n' ? std::pair{Qt::Key_Return, Qt::NoModifier}
            : key == u'\v' ? std::pair{Qt::Key_Return, Qt::ShiftModifier}
            : key == u'\b' ? std::pair{Qt::Key_Delete, Qt::NoModifier}
                           : std::pair{Qt::Key(key.toUpper().unicode()), Qt::NoModifier};
        QTest::keyClick(editor.box, code, modifiers);
    }
    const bool saved = comment.isEmpty() && keys.isEmpty();
    QCOMPARE(editor.model.is_saved, saved);
    editor.model.comment = QStringLiteral("stale");
    editor.dlg.close();
    QCOMPARE(editor.model.comment, stored);
    QCOMPARE(editor.model.is_saved, saved);
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
}

void TestComment::resizeRule()
{
    QFETCH(QSize, asked);
    QFETCH(QSize, outer);
    OpenEditor editor;
    QVERIFY(QTest::qWaitForWindowExposed(&editor.dlg));
    const QSize frame = editor.dlg.frameGeometry().size() - editor.dlg.size();
    editor.dlg.resize(QSize(toPixels(asked.width()), toPixels(asked.height())) - frame);
    QCoreApplication::processEvents();

    const QSize outerPixels(toPixels(outer.width()), toPixels(outer.height()));
    QCOMPARE(editor.dlg.frameGeometry().size(), outerPixels);
    QCOMPARE(editor.box->geometry(), QRect(QPoint(0, 0), boxFor(outerPixels)));
}

void TestComment::maximizedAndMinimized()
{
    OpenEditor editor;
    editor.dlg.showMaximized();
    QVERIFY(QTest::qWaitForWindowExposed(&editor.dlg));
    QTRY_VERIFY(editor.dlg.width() > toPixels(4000));
    QCOMPARE(editor.box->size(), boxFor(editor.dlg.frameGeometry().size()));

    const QRect before = editor.box->geometry();
    editor.dlg.setWindowState(Qt::WindowMinimized);
    editor.dlg.resize(toPixels(4500), toPixels(3500));
    QCoreApplication::processEvents();
    QCOMPARE(editor.box->geometry(), before);
}

QTEST_MAIN(TestComment)
#include "test_comment.moc"
