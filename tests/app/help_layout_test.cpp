// The help-document tool: contents with the pages of their headings, no
// heading left alone at the foot of a page, one PDF page per laid-out page,
// and clear failures that leave an existing document alone.
#include <QBuffer>
#include <QFile>
#include <QPdfWriter>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QtTest>

#include "helpdoc/manual_layout.h"
#include "helpdoc/manual_pdf.h"

using namespace zelvor::helpdoc;

namespace {

// A page body of about 13 × 10 cm at 300 dpi: a few paragraphs fill it.
constexpr int kResolution = 300;
const QSizeF kBody(1500.0, 1200.0);

QString paragraphs(int count) {
    QString text;
    for (int i = 0; i < count; ++i) {
        text += QStringLiteral(
                    "Paragraph %1 has words enough to run over one line of the narrow "
                    "test page and onto a second one.\n\n")
                    .arg(i + 1);
    }
    return text;
}

struct Laid {
    QBuffer buffer;
    QPdfWriter writer{&buffer};
    std::unique_ptr<ManualLayout> layout;

    explicit Laid(const QString& markdown) {
        buffer.open(QIODevice::WriteOnly);
        writer.setResolution(kResolution);
        layout = std::make_unique<ManualLayout>(markdown, writer, kBody);
    }
};

QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

struct ToolRun {
    int exitCode;
    QString errors;
};

ToolRun runTool(const QStringList& arguments) {
    QProcess tool;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    tool.setProcessEnvironment(environment);
    tool.start(QStringLiteral(ZELVOR_HELPDOC_TOOL), arguments);
    tool.waitForFinished(60000);
    return {tool.exitCode(), QString::fromUtf8(tool.readAllStandardError())};
}

}  // namespace

class HelpLayoutTest : public QObject {
    Q_OBJECT

    QTemporaryDir folder_;

  private slots:
    void contentsListChaptersAndSectionsWithTheirPages() {
        const QString markdown = QStringLiteral(
                                     "# The title\n\nUser manual\n\n## Contents\n\n"
                                     "[TOC]\n\n## 1 First\n\n") +
                                 paragraphs(12) + QStringLiteral("### 1.1 Section\n\n") +
                                 paragraphs(9) + QStringLiteral("#### Detail\n\nText.\n\n") +
                                 QStringLiteral("## 2 Second\n\nText.\n");
        Laid laid(markdown);
        ManualLayout& layout = *laid.layout;
        QCOMPARE(layout.title(), QStringLiteral("The title"));

        // Level 4 is not listed; the contents stand on the title page and the
        // first chapter starts on the next one.
        const ContentsLines& contents = layout.contents();
        QCOMPARE(contents.count, 3);
        std::vector<PlacedHeading> listed;
        for (const PlacedHeading& heading : layout.headings()) {
            if (heading.level >= 2 && heading.level <= 3 && heading.text != "Contents") {
                listed.push_back(heading);
            }
        }
        QCOMPARE(listed.size(), std::size_t{3});
        QCOMPARE(listed.front().page, 1);
        QVERIFY(listed.back().page > listed.front().page);  // the text does run over pages
        for (int i = 0; i < contents.count; ++i) {
            const QTextBlock line = layout.document().findBlockByNumber(contents.firstBlock + i);
            QCOMPARE(layout.pageOf(line), 0);
            const PlacedHeading& heading = listed[static_cast<std::size_t>(i)];
            QCOMPARE(line.text(),
                     heading.text + QLatin1Char('\t') + QString::number(heading.page + 1));
        }
        QVERIFY(layout.pageCount() >= listed.back().page + 1);
    }

    void noHeadingStandsAloneAtTheFootOfAPage() {
        // Whatever the amount of text before them, a heading and a heading
        // followed by a table start on the page where their content starts.
        int startedAPage = 0;
        for (int before = 0; before < 24; ++before) {
            const QString markdown = QStringLiteral("## 1 A\n\n") + paragraphs(before) +
                                     QStringLiteral(
                                         "## 2 B\n\n### 2.1 B1\n\nText after two "
                                         "headings.\n\n## 3 C\n\n| Key | Command |\n"
                                         "|---|---|\n| F2 | Save |\n| F3 | Open |\n");
            Laid laid(markdown);
            ManualLayout& layout = *laid.layout;
            QTextDocument& document = layout.document();
            for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
                if (block.blockFormat().headingLevel() < 2) continue;
                QTextBlock content = block.next();
                while (content.isValid() && content.blockFormat().headingLevel() > 0) {
                    content = content.next();
                }
                QVERIFY(content.isValid());
                QVERIFY2(layout.pageOf(content) == layout.pageOf(block),
                         qPrintable(QStringLiteral("%1 paragraphs: \"%2\" on page %3, its text "
                                                   "on page %4")
                                        .arg(before)
                                        .arg(block.text())
                                        .arg(layout.pageOf(block))
                                        .arg(layout.pageOf(content))));
                const QTextBlock previous = block.previous();
                if (previous.isValid() && layout.pageOf(previous) < layout.pageOf(block)) {
                    ++startedAPage;
                }
            }
        }
        QVERIFY(startedAPage > 0);  // the text did reach the foot of a page
    }

    void pdfHasEveryLaidOutPage() {
        QBuffer buffer;
        QVERIFY(buffer.open(QIODevice::WriteOnly));
        const QString markdown =
            QStringLiteral("# Manual\n\n## Contents\n\n[TOC]\n\n## 1 One\n\n") + paragraphs(60) +
            QStringLiteral("## 2 Two\n\nŽluťoučký kůň.\n");
        const PdfWriteResult written = writeManualPdf(markdown, buffer);
        QVERIFY2(written.ok(), qPrintable(written.error));
        QVERIFY(written.pages >= 3);
        const QByteArray pdf = buffer.data();
        QVERIFY(pdf.startsWith("%PDF-"));
        QCOMPARE(pdf.count("/Type /Page\n"), written.pages);
    }

    void toolWritesTheDocumentOrSaysWhyNot() {
        const QString manual = folder_.filePath(QStringLiteral("manual.md"));
        const QString target = folder_.filePath(QStringLiteral("manual.pdf"));
        QFile source(manual);
        QVERIFY(source.open(QIODevice::WriteOnly));
        source.write("# Manual\n\n## 1 Start\n\nText.\n");
        source.close();

        ToolRun run = runTool({manual, target});
        QCOMPARE(run.exitCode, 0);
        QVERIFY(readFile(target).startsWith("%PDF-"));

        // A missing manual is named and the document built before stays.
        const QByteArray before = readFile(target);
        run = runTool({folder_.filePath(QStringLiteral("missing.md")), target});
        QCOMPARE(run.exitCode, 1);
        QVERIFY2(run.errors.contains(QStringLiteral("cannot read")) &&
                     run.errors.contains(QStringLiteral("missing.md")),
                 qPrintable(run.errors));
        QCOMPARE(readFile(target), before);

        run = runTool({manual, folder_.filePath(QStringLiteral("no/such/folder/manual.pdf"))});
        QCOMPARE(run.exitCode, 1);
        QVERIFY2(run.errors.contains(QStringLiteral("cannot write")), qPrintable(run.errors));

        run = runTool({manual});
        QCOMPARE(run.exitCode, 2);
        QVERIFY(run.errors.contains(QStringLiteral("usage")));
    }
};

QTEST_MAIN(HelpLayoutTest)
#include "help_layout_test.moc"
