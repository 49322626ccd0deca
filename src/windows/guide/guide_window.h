#pragma once

#include <QWidget>

class QComboBox;
class QTextBrowser;

// Help > Tarnwell Guide: how to use the program, shown inside it. The text is
// the guide the repository keeps in docs/guide.md (compiled in), so the window
// and the repository never say different things. Its sections (the level-2
// headings) are listed beside the text and each opens at its heading: a
// section added to the file is listed without a change here.
//
// Non-modal and owned by the main window, which keeps one and raises it.
class GuideWindow final : public QWidget
{
    Q_OBJECT

public:
    explicit GuideWindow(QWidget *owner);

    // The guide's text, as read.
    QTextBrowser &text() const { return *m_text; }
    // The titles of its sections, in order.
    QStringList sections() const;
    // Scrolls the text to the start of section `index`.
    void showSection(int index);

private:
    void listSections();

    QComboBox *m_sections;
    QTextBrowser *m_text;
};
