#include "orvanefrmfileviewer.h"
#include "ui_orvanefrmfileviewer.h"

#include "mylineedit.h"
#include "orvanedialogs.h"
#include "orvanefrmsearching.h"
#include "orvaneplatform.h"
#include "orvanetextfileview.h"

#include <QDir>
#include <QFileInfo>
#include <QSignalBlocker>
#include <QStyle>
#include <QStyleOptionFrame>

const QString OrvaneFrmFileViewer::hintText =
    QStringLiteral("Drag and drop a file here OR click on button Open to open it");

namespace {
const QString errorTitle = QStringLiteral("ORVANE Error");
}

OrvaneFrmFileViewer::OrvaneFrmFileViewer(QWidget* parent)
    : QDialog(parent)
    , ui(std::make_unique<Ui::OrvaneFrmFileViewer>())
{
    ui->setupUi(this);
    ui->btnSaveFile->setEnabled(false);
    ui->plainTextEdit->setFont(OrvanePlatform::fileViewFont());
    frmSearching = new OrvaneFrmSearching(this);
    ui->verticalLayout->addWidget(frmSearching);
    frmSearching->plainTextEdit = ui->plainTextEdit;
    ui->edtFileName->setText(hintText);
    ui->edtFileName->setStyleSheet(MyLineEdit::hintStyleSheet());
    // The hint is read in full: the field is at least as wide as it.
    QStyleOptionFrame option;
    option.initFrom(ui->edtFileName);
    option.lineWidth = ui->edtFileName->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option,
                                                             ui->edtFileName);
    const QMargins margins = ui->edtFileName->textMargins();
    // Two pixels of the field's own margin on each side, and room for the caret.
    const int textWidth =
        ui->edtFileName->fontMetrics().horizontalAdvance(hintText) + margins.left() + margins.right() + 2 * 2 + 2;
    ui->edtFileName->setMinimumWidth(
        ui->edtFileName->style()
            ->sizeFromContents(QStyle::CT_LineEdit, &option,
                               QSize(textWidth, ui->edtFileName->sizeHint().height()), ui->edtFileName)
            .width());
}

OrvaneFrmFileViewer::~OrvaneFrmFileViewer() = default;

void OrvaneFrmFileViewer::loadFile(const QString& fileName)
{
    {
        // Showing the name must not re-enter the change handler, which would
        // load (and report a failure) a second time.
        const QSignalBlocker blocker(ui->edtFileName);
        ui->edtFileName->setText(fileName);
    }
    ui->edtFileName->setStyleSheet(QString());
    ui->plainTextEdit->clear();
    ui->btnSaveFile->setEnabled(true);

    QString reason;
    OrvaneTextFileView::ReadDetails details;
    const bool shown = OrvaneTextFileView::show(ui->plainTextEdit, fileName, reason, &details);
    encoding = details.encoding;
    if (!shown)
        OrvaneDialogs::critical(this, errorTitle, reason);
}

void OrvaneFrmFileViewer::on_edtFileName_textChanged(const QString& text)
{
    if (text.isEmpty() || text == hintText)
        return;
    ui->edtFileName->setStyleSheet(QString());
    loadFile(text);
}

void OrvaneFrmFileViewer::on_btnOpenFile_clicked()
{
    const QString fileName = OrvaneDialogs::openFileName(this, QStringLiteral("ORVANE File Viewer"),
                                                         QDir::homePath(),
                                                         QStringLiteral("Text File (*)"));
    if (!fileName.isEmpty())
        loadFile(fileName);
}

void OrvaneFrmFileViewer::on_btnClearVisualization_clicked()
{
    ui->btnSaveFile->setEnabled(false);
    ui->plainTextEdit->clear();
    encoding = OrvaneTextFileView::Encoding();
    ui->edtFileName->setText(hintText);
    ui->edtFileName->setStyleSheet(MyLineEdit::hintStyleSheet());
}

void OrvaneFrmFileViewer::on_btnSaveFile_clicked()
{
    const QString suffix = QFileInfo(ui->edtFileName->text()).suffix();
    const QString filter = QStringLiteral(".%1 File (*.%1)").arg(suffix);
    const QString target =
        OrvaneDialogs::saveFileName(this, QStringLiteral("Save File"), QDir::homePath(), filter);
    if (target.isEmpty())
        return;

    // Through the report writer: a full disk or a FIFO of that name never
    // destroys or blocks on what the chosen name holds. In the encoding the
    // file was read in: a Latin-1 input saved unchanged keeps its bytes.
    QString reason;
    if (!OrvaneTextFileView::save(ui->plainTextEdit, target, encoding, reason)) {
        OrvaneDialogs::critical(this, errorTitle, QStringLiteral("The file could not be saved:\n%1").arg(reason));
        return;
    }
    // The name field keeps the loaded file: the box names the one written.
    OrvaneDialogs::information(this, QStringLiteral("ORVANE Information"),
                               QStringLiteral("The file was successfully created at: ") + target);
}

void OrvaneFrmFileViewer::on_btnFindText_clicked()
{
    frmSearching->show();
}
