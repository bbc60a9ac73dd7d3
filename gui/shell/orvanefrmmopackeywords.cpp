#include "orvanefrmmopackeywords.h"
#include "ui_orvanefrmmopackeywords.h"

#include "multiselectcompleter.h"

#include <QRegularExpression>

#include <algorithm>

const QStringList OrvaneFrmMopacKeywords::modelList = {
    QStringLiteral("RM1"),         QStringLiteral("Sparkle/RM1"), QStringLiteral("Sparkle/AM1"),
    QStringLiteral("Sparkle/PM3"), QStringLiteral("Sparkle/PM6"), QStringLiteral("Sparkle/PM7")};

const QStringList OrvaneFrmMopacKeywords::keywordWords = {
    QStringLiteral("PRECISE"), QStringLiteral("XYZ"),           QStringLiteral("T=10D"),
    QStringLiteral("NOLOG"),   QStringLiteral("GEO-OK"),        QStringLiteral("SCFCRT=1.D-10"),
    QStringLiteral("BFGS"),    QStringLiteral("ALLVEC"),        QStringLiteral("GNORM=0.25")};

namespace {
const QString sparkle = QStringLiteral("SPARKLE");
const QString sparklePrefix = QStringLiteral("Sparkle/");
}

OrvaneFrmMopacKeywords::OrvaneFrmMopacKeywords(QWidget* parent)
    : QWidget(parent)
    , ui(std::make_unique<Ui::OrvaneFrmMopacKeywords>())
{
    ui->setupUi(this);
    // Inserting into the empty list makes "RM1" current, which runs the slot
    // once and drops the leading blank of the default keywords.
    ui->cbxSparkleMethod->insertItems(0, modelList);

    auto* completer = new MultiSelectCompleter(keywordWords, this);
    completer->setMaxVisibleItems(keywordWords.size());
    completer->setCaseSensitivity(Qt::CaseInsensitive);
    ui->edtAdditionalKeywords->setCompleter(completer);
}

OrvaneFrmMopacKeywords::~OrvaneFrmMopacKeywords() = default;

void OrvaneFrmMopacKeywords::on_cbxSparkleMethod_currentTextChanged(const QString& text)
{
    // A combo box being emptied for a refill reports an empty text first;
    // that is no model, and treating it as one would add a stray keyword.
    if (text.isEmpty())
        return;
    QString keywords = ui->edtAdditionalKeywords->text().simplified();
    if (text == QLatin1String("RM1"))
        keywords.remove(sparkle);
    else if (!keywords.contains(sparkle))
        keywords.prepend(sparkle + QLatin1Char(' '));
    ui->edtAdditionalKeywords->setText(keywords);
}

QString OrvaneFrmMopacKeywords::keywordLine() const
{
    QString model = ui->cbxSparkleMethod->currentText();
    model.remove(sparklePrefix);
    QString keywords = ui->edtAdditionalKeywords->text().simplified();
    if (keywordLineAddsSparkle())
        keywords = keywords.isEmpty() ? sparkle : sparkle + QLatin1Char(' ') + keywords;
    return model.simplified() + QLatin1Char(' ') + keywords + QStringLiteral(" CHARGE=")
           + QString::number(ui->spnCompCharge->value()) + QLatin1Char('\n');
}

bool OrvaneFrmMopacKeywords::isSparkleModel() const
{
    return ui->cbxSparkleMethod->currentText().contains(sparklePrefix);
}

bool OrvaneFrmMopacKeywords::keywordLineAddsSparkle() const
{
    return isSparkleModel() && !hasKeyword(ui->edtAdditionalKeywords->text(), sparkle);
}

bool OrvaneFrmMopacKeywords::hasKeyword(const QString& keywords, const QString& keyword)
{
    const QStringList words = keywords.split(QRegularExpression(QStringLiteral("\\s+")),
                                             Qt::SkipEmptyParts);
    return std::any_of(words.cbegin(), words.cend(), [&keyword](const QString& word) {
        return word.compare(keyword, Qt::CaseInsensitive) == 0;
    });
}

void OrvaneFrmMopacKeywords::setLeadingKeyword(const QString& keyword)
{
    QString rest = ui->edtAdditionalKeywords->text().simplified();
    rest.remove(sparkle);
    rest.remove(QStringLiteral("BFGS"));
    const bool joinDirectly = rest.isEmpty() || rest.startsWith(QLatin1Char(' '));
    ui->edtAdditionalKeywords->setText(keyword + (joinDirectly ? QString() : QStringLiteral(" "))
                                       + rest);
}
