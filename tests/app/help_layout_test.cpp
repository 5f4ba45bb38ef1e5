// The help-document tool: contents with the pages of their headings, no
// heading left alone at the foot of a page, one PDF page per laid-out page,
// pictures no wider than the text, and clear failures that leave an existing
// document alone.
#include <QAbstractTextDocumentLayout>
#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPdfWriter>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextLayout>
#include <QTextTable>
#include <QtTest>
#include <cmath>

#include "helpdoc/manual_layout.h"
#include "helpdoc/manual_pdf.h"

using namespace zelvor::helpdoc;

namespace {

// A page body of about 13 × 10 cm at 300 dpi: a few paragraphs fill it.
constexpr int kResolution = 300;
const QSizeF kBody(1500.0, 1200.0);

// Paragraphs of one to four lines. Their lengths depend on the count too, so
// that different counts put the page ends at different places in a paragraph.
QString paragraphs(int count) {
    QString text;
    for (int i = 0; i < count; ++i) {
        const int lines = (i * 7 + count) % 4 + 1;
        for (int line = 0; line < lines; ++line) {
            text += QStringLiteral("Sentence %1.%2 fills most of a line on the test page. ")
                        .arg(i + 1)
                        .arg(line + 1);
        }
        text += QStringLiteral("\n\n");
    }
    return text;
}

struct Laid {
    QBuffer buffer;
    QPdfWriter writer{&buffer};
    std::unique_ptr<ManualLayout> layout;

    explicit Laid(const QString& markdown, const QString& pictureFolder = {}) {
        buffer.open(QIODevice::WriteOnly);
        writer.setResolution(kResolution);
        layout =
            std::make_unique<ManualLayout>(markdown, writer, kBody, ManualStyle{}, pictureFolder);
    }
};

// The pictures of a manual as laid out: name and size in format units.
struct PlacedPicture {
    QString name;
    QSizeF size;
};

std::vector<PlacedPicture> picturesOf(QTextDocument& document) {
    std::vector<PlacedPicture> pictures;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat chars = it.fragment().charFormat();
            if (!chars.isImageFormat()) continue;
            const QTextImageFormat picture = chars.toImageFormat();
            pictures.push_back({picture.name(), QSizeF(picture.width(), picture.height())});
        }
    }
    return pictures;
}

bool savePicture(const QString& path, QSize size) {
    QImage picture(size, QImage::Format_RGB32);
    picture.fill(Qt::darkCyan);
    return picture.save(path);
}

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

    void pagesBreakInGoodPlaces() {
        // Whatever the amount of text before them, a heading and a heading
        // followed by a table start on the page where their content starts,
        // and neither the short table nor a paragraph of a few lines is split.
        int startedAPage = 0;
        for (int before = 0; before < 40; ++before) {
            const QString markdown = QStringLiteral("## 1 A\n\n") + paragraphs(before) +
                                     QStringLiteral(
                                         "## 2 B\n\n### 2.1 B1\n\nText after two "
                                         "headings.\n\n## 3 C\n\n| Key | Command |\n"
                                         "|---|---|\n| F2 | Save |\n| F3 | Open |\n"
                                         "| F7 | Read |\n| F8 | Verify |\n");
            Laid laid(markdown);
            ManualLayout& layout = *laid.layout;
            QTextDocument& document = layout.document();
            for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
                if (block.blockFormat().headingLevel() == 0 &&
                    QTextCursor(block).currentTable() == nullptr) {
                    QCOMPARE(layout.pageBreaks().pageOfLastLine(block), layout.pageOf(block));
                    continue;
                }
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
                if (QTextTable* table = QTextCursor(content).currentTable()) {
                    // The short table stands on one page as a whole.
                    const QTextBlock lastRow =
                        table->cellAt(table->rows() - 1, 0).firstCursorPosition().block();
                    QCOMPARE(layout.pageOf(lastRow), layout.pageOf(content));
                }
                const QTextBlock previous = block.previous();
                if (previous.isValid() && previous.blockFormat().headingLevel() == 0 &&
                    QTextCursor(previous).currentTable() == nullptr) {
                    QCOMPARE(layout.pageBreaks().pageOfLastLine(previous), layout.pageOf(previous));
                }
                if (previous.isValid() && layout.pageOf(previous) < layout.pageOf(block)) {
                    ++startedAPage;
                }
            }
        }
        QVERIFY(startedAPage > 0);  // the text did reach the foot of a page
    }

    void everyBlockOfTheManualsIsLaidOutInOrder() {
        // Headings moved to the next page and page numbers written into the
        // contents change the document after it was laid out; no block may
        // be left without lines (it would be missing from the PDF) or out of
        // order.
        for (const char* name : {"Zelvor_en.md", "Zelvor_de.md", "Zelvor_fr.md", "Zelvor_cz.md"}) {
            QFile file(QDir(QStringLiteral(ZELVOR_HELP_SOURCE_DIR)).filePath(QLatin1String(name)));
            QVERIFY2(file.open(QIODevice::ReadOnly), name);
            QBuffer buffer;
            buffer.open(QIODevice::WriteOnly);
            QPdfWriter writer(&buffer);
            writer.setResolution(600);
            const QSizeF a4Body(4157.0, 5527.0);  // A4 inside the manual's margins at 600 dpi
            ManualLayout layout(QString::fromUtf8(file.readAll()), writer, a4Body, ManualStyle{},
                                QDir(QStringLiteral(ZELVOR_HELP_PICTURE_DIR))
                                    .filePath(QString::fromLatin1(name).mid(7, 2)));
            QVERIFY2(layout.missingPictures().isEmpty(),
                     qPrintable(layout.missingPictures().join(u' ')));
            qreal previousTop = -1.0;
            for (QTextBlock block = layout.document().begin(); block.isValid();
                 block = block.next()) {
                if (QTextCursor(block).currentTable() != nullptr) continue;
                QVERIFY2(block.layout()->lineCount() > 0,
                         qPrintable(QStringLiteral("%1: \"%2\" has no lines")
                                        .arg(QLatin1String(name), block.text())));
                const qreal top = block.layout()->position().y();
                QVERIFY2(top > previousTop, qPrintable(block.text()));
                previousTop = top;
                QVERIFY(layout.pageOf(block) < layout.pageCount());
            }
        }
    }

    void anApostropheAccentStaysWithTheLetterBeforeIt() {
        // French texts of the program write "´" for the apostrophe: a line
        // may break before "d´activation" but never between "d" and "´".
        QString markdown;
        const QString prefixes[] = {QStringLiteral("Valeur d"), QStringLiteral("Seuil l"),
                                    QStringLiteral("Mode qu"), QStringLiteral("N")};
        for (int i = 0; i < 240; ++i) {
            markdown += prefixes[i % 4] + QStringLiteral("´activation ");
            if (i % 7 == 0) markdown += QStringLiteral("et ");
        }
        markdown += QStringLiteral("\n\n**correction d´injection** : texte.\n");
        Laid laid(markdown);
        int lines = 0;
        QString shown;
        for (QTextBlock block = laid.layout->document().begin(); block.isValid();
             block = block.next()) {
            const QString text = block.text();
            QTextLayout* layout = block.layout();
            for (int i = 1; i < layout->lineCount(); ++i) {
                const int start = layout->lineAt(i).textStart();
                ++lines;
                QVERIFY2(!(text.at(start) == QChar(0x00B4) && text.at(start - 1).isLetter()),
                         qPrintable(text.mid(start - 10, 20)));
            }
            shown += text;
        }
        QVERIFY(lines > 20);
        // What the reader sees is the text as written.
        shown.remove(QChar(0x2060));
        QVERIFY(shown.startsWith(QStringLiteral("Valeur d´activation et Seuil l´activation")));
        QVERIFY(shown.contains(QStringLiteral("correction d´injection : texte.")));
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

    void picturesAreNoWiderThanTheText() {
        QTemporaryDir pictures;
        QVERIFY(savePicture(pictures.filePath(QStringLiteral("wide.png")), QSize(3000, 1000)));
        QVERIFY(savePicture(pictures.filePath(QStringLiteral("small.png")), QSize(120, 40)));
        const QString markdown = QStringLiteral(
            "## 1 Pictures\n\n![The window](wide.png)\n\nText.\n\n![A page](small.png)\n");
        Laid laid(markdown, pictures.path());
        QVERIFY2(laid.layout->missingPictures().isEmpty(),
                 qPrintable(laid.layout->missingPictures().join(u' ')));
        const std::vector<PlacedPicture> placed = picturesOf(laid.layout->document());
        QCOMPARE(placed.size(), std::size_t{2});
        // The wide one takes the width of a line and keeps its proportions;
        // the small one keeps its size.
        const qreal lineWidth = kBody.width() * kFormatUnitsPerPoint / pointsToDevice(laid.writer);
        QCOMPARE(placed[0].name, QStringLiteral("wide.png"));
        QCOMPARE(placed[0].size.width(), lineWidth);
        QCOMPARE(placed[0].size.height(), lineWidth / 3.0);
        QCOMPARE(placed[1].size, QSizeF(120.0, 40.0));
        // Drawn, the wide one fills the line: no wider, no narrower.
        const QTextBlock block = laid.layout->document().findBlockByNumber(1);
        const QRectF bounds = laid.layout->document().documentLayout()->blockBoundingRect(block);
        QVERIFY2(std::abs(bounds.width() - kBody.width()) < kBody.width() * 0.02,
                 qPrintable(QString::number(bounds.width())));

        // In the PDF, with both pictures in it.
        QBuffer buffer;
        QVERIFY(buffer.open(QIODevice::WriteOnly));
        const PdfWriteResult written = writeManualPdf(markdown, buffer, {}, {}, pictures.path());
        QVERIFY2(written.ok(), qPrintable(written.error));
        QCOMPARE(buffer.data().count("/Subtype /Image"), 2);
    }

    void aMissingPictureIsNamedAndNoDocumentIsWritten() {
        const QString manual = folder_.filePath(QStringLiteral("pictured.md"));
        const QString target = folder_.filePath(QStringLiteral("pictured.pdf"));
        QFile source(manual);
        QVERIFY(source.open(QIODevice::WriteOnly));
        source.write("# Manual\n\n## 1 Start\n\n![The Bike page](page00_bike.png)\n");
        source.close();
        QFile old(target);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("the document of yesterday");
        old.close();

        const ToolRun run = runTool({manual, target, folder_.filePath(QStringLiteral("none"))});
        QCOMPARE(run.exitCode, 1);
        QVERIFY2(run.errors.contains(QStringLiteral("page00_bike.png")), qPrintable(run.errors));
        QCOMPARE(readFile(target), QByteArray("the document of yesterday"));
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
