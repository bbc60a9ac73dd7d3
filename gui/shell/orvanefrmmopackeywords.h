#ifndef ORVANEFRMMOPACKEYWORDS_H
#define ORVANEFRMMOPACKEYWORDS_H

#include <QString>
#include <QWidget>

#include <memory>

namespace Ui {
class OrvaneFrmMopacKeywords;
}

// The MOPAC options of a geometry optimisation: the semiempirical model, the
// charge of the system and free keywords typed with a word completer. The
// keyword "SPARKLE" follows the model chosen.
class OrvaneFrmMopacKeywords : public QWidget
{
    Q_OBJECT
public:
    explicit OrvaneFrmMopacKeywords(QWidget* parent = nullptr);
    ~OrvaneFrmMopacKeywords() override;

    // The keyword line of a MOPAC input, with its line end: the model
    // without "Sparkle/", the additional keywords and "CHARGE=". A Sparkle
    // model always carries SPARKLE: without it MOPAC has no parameters for
    // the ion, so the word goes in front of the keywords when they lost it.
    QString keywordLine() const;
    // True when keywordLine adds SPARKLE that the keywords lack.
    bool keywordLineAddsSparkle() const;
    bool isSparkleModel() const;
    // As MOPAC reads its keywords: a whole blank-separated word, in any case.
    static bool hasKeyword(const QString& keywords, const QString& keyword);
    // Puts keyword in front of the additional keywords after removing every
    // "SPARKLE" and "BFGS" from them (used when the MOPAC version allows only
    // Sparkle models).
    void setLeadingKeyword(const QString& keyword);

    static const QStringList modelList;
    static const QStringList keywordWords;

    // The calculation page reads and resets the widgets directly.
    std::unique_ptr<Ui::OrvaneFrmMopacKeywords> ui;

public slots:
    void on_cbxSparkleMethod_currentTextChanged(const QString& text);
};

#endif
