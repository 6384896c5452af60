// The filters over the largest database: 32,000 records of 50 fields holding
// names, places, notes, numbers and dates.

#include "core/document/database.h"
#include "core/platform/qt/qtlocaleservice.h"
#include "core/platform/userfeedback.h"
#include "documentaccess.h"
#include "fixedlocale.h"
#include "numbers/numberseparators.h"
#include "table/filter/filterengine.h"

#include <QRandomGenerator>
#include <QStringList>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

constexpr int Records = 32000;
constexpr int Fields = 50;

class QuietFeedback : public UserFeedback
{
public:
    void beep() override {}
    void setBusy(bool) override {}
};

QString pick(QRandomGenerator &rng, const QStringList &words)
{
    return words.at(int(rng.bounded(quint32(words.size()))));
}

/// Columns by kind, repeating every ten fields: first name, last name,
/// city, street, note, Float amount, Integer quantity, date, e-mail, code.
std::unique_ptr<Database> makeDatabase()
{
    NumberSeparators::setCurrent(NumberSeparators::us());
    const QStringList first = {
        QStringLiteral("Anna"),  QStringLiteral("Bernd"),  QStringLiteral("Clara"),
        QStringLiteral("David"), QStringLiteral("Eva"),    QStringLiteral("Frank"),
        QStringLiteral("Greta"), QStringLiteral("Hans"),   QStringLiteral("Ines"),
        QStringLiteral("Jonas"), QStringLiteral("Karin"),  QStringLiteral("Lukas"),
        QStringLiteral("Maria"), QStringLiteral("Nils"),   QStringLiteral("Olga"),
        QStringLiteral("Peter"), QStringLiteral("Renate"), QStringLiteral("Stefan"),
        QStringLiteral("Tanja"), QStringLiteral("Uwe")};
    const QStringList last = {
        QStringLiteral("Schmidt"), QStringLiteral("Meyer"),    QStringLiteral("Wagner"),
        QStringLiteral("Becker"),  QStringLiteral("Hoffmann"), QStringLiteral("Koch"),
        QStringLiteral("Richter"), QStringLiteral("Klein"),    QStringLiteral("Wolf"),
        QStringLiteral("Neumann"), QStringLiteral("Schwarz"),  QStringLiteral("Zimmermann"),
        QStringLiteral("Braun"),   QStringLiteral("Krüger"),   QStringLiteral("Hartmann")};
    const QStringList cities = {
        QStringLiteral("Berlin"),   QStringLiteral("Hamburg"),   QStringLiteral("München"),
        QStringLiteral("Köln"),     QStringLiteral("Frankfurt"), QStringLiteral("Stuttgart"),
        QStringLiteral("Bremen"),   QStringLiteral("Dresden"),   QStringLiteral("Leipzig"),
        QStringLiteral("Hannover"), QStringLiteral("Bonn"),      QStringLiteral("Bielefeld")};
    const QStringList streets = {QStringLiteral("Hauptstraße"),   QStringLiteral("Gartenweg"),
                                 QStringLiteral("Bahnhofstraße"), QStringLiteral("Am Markt"),
                                 QStringLiteral("Lindenallee"),   QStringLiteral("Schulstraße")};
    const QStringList noteWords = {
        QStringLiteral("call"),    QStringLiteral("back"),   QStringLiteral("invoice"),
        QStringLiteral("paid"),    QStringLiteral("open"),   QStringLiteral("delivery"),
        QStringLiteral("late"),    QStringLiteral("urgent"), QStringLiteral("meeting"),
        QStringLiteral("on hold"), QStringLiteral("sent"),   QStringLiteral("reminder")};

    auto db = std::make_unique<Database>();
    RecordGrid &grid = db->grid();
    grid.resize(Fields + 1, Records + 1);
    for (int k = 1; k <= Fields; ++k) {
        switch ((k - 1) % 10) {
        case 5:
            db->field(k).type = FieldType::Float;
            break;
        case 6:
            db->field(k).type = FieldType::NormalInteger;
            break;
        case 7:
            db->field(k).type = FieldType::NormalDate;
            break;
        default:
            db->field(k).type = FieldType::String;
            break;
        }
    }
    QRandomGenerator rng(7);
    const QDate base(1998, 1, 1);
    std::vector<QString> texts(Fields);
    for (int r = 1; r <= Records; ++r) {
        for (int k = 1; k <= Fields; ++k) {
            QString &text = texts[size_t(k - 1)];
            switch ((k - 1) % 10) {
            case 0:
                text = pick(rng, first);
                break;
            case 1:
                text = pick(rng, last);
                break;
            case 2:
                text = pick(rng, cities);
                break;
            case 3:
                text = pick(rng, streets) + QLatin1Char(' ') + QString::number(rng.bounded(1, 200));
                break;
            case 4:
                text = pick(rng, noteWords) + QLatin1Char(' ') + pick(rng, noteWords) +
                       QLatin1Char(' ') + pick(rng, noteWords);
                break;
            case 5:
                text = QString::number(rng.bounded(100000) / 100.0, 'f', 2);
                break;
            case 6:
                text = QString::number(rng.bounded(1, 1000));
                break;
            case 7:
                text = base.addDays(rng.bounded(9000)).toString(QStringLiteral("M/d/yyyy"));
                break;
            case 8:
                text = pick(rng, first).toLower() + QLatin1Char('.') + pick(rng, last).toLower() +
                       QStringLiteral("@example.org");
                break;
            default:
                text = QStringLiteral("K-%1").arg(rng.bounded(100000), 5, 10, QLatin1Char('0'));
                break;
            }
        }
        grid.setRecordTexts(r, std::move(texts));
        texts.assign(Fields, QString());
    }
    grid.showAllRows();
    return db;
}

Document &document()
{
    static const std::unique_ptr<Document> doc = [] {
        auto d = std::make_unique<Document>();
        d->replace(std::move(*makeDatabase()));
        return d;
    }();
    return *doc;
}

Database &database()
{
    return DocumentAccess::database(document());
}

int visibleRecords(const Database &db)
{
    int count = 0;
    for (int r = 1; r <= db.recordCount(); ++r)
        count += db.grid().isRowHidden(r) ? 0 : 1;
    return count;
}

void runSimple(benchmark::State &state, int field, const QString &text, LocaleService &locale)
{
    Database &db = database();
    QuietFeedback feedback;
    FilterEngine engine(document(), locale, feedback);
    db.filter().field = qint8(field);
    db.filter().text = text;
    for (auto _ : state)
        engine.ApplyFilter(FilterEngine::Simple);
    state.counters["visible"] = visibleRecords(db);
    state.SetItemsProcessed(state.iterations() * Records);
    engine.ApplyFilter(FilterEngine::Off);
}

void BM_FilterSimpleOneField(benchmark::State &state)
{
    FixedLocale locale;
    runSimple(state, 2, QStringLiteral("mann"), locale);
}

void BM_FilterSimpleAllFields(benchmark::State &state)
{
    // Nothing matches, so every field of every record is searched.
    FixedLocale locale;
    runSimple(state, 0, QStringLiteral("zeppelin"), locale);
}

void BM_FilterSimpleDateComparison(benchmark::State &state)
{
    FixedLocale locale;
    runSimple(state, 8, QStringLiteral("<1/1/2005"), locale);
}

void BM_FilterSimpleDateComparisonQtLocale(benchmark::State &state)
{
    // The same with the program's own locale service (en_US, M/d/yyyy).
    QtLocaleService locale(QLocale(QLocale::English, QLocale::UnitedStates));
    runSimple(state, 8, QStringLiteral("<1/1/2005"), locale);
}

void BM_FilterAdvancedThreeConditions(benchmark::State &state)
{
    Database &db = database();
    FixedLocale locale;
    QuietFeedback feedback;
    FilterEngine engine(document(), locale, feedback);
    AdvancedFilterSettings &adv = db.advancedFilter();
    adv.texts = {QStringLiteral("b"), QStringLiteral("urgent"), QStringLiteral(">500")};
    // City begins with B, OR any field holds "urgent", AND amount above 500.
    adv.fields = {2, -1, 5, -1, -1};
    adv.options =
        quint16(AdvancedFilterSettings::BaseOption | AdvancedFilterSettings::beginOption(0) |
                AdvancedFilterSettings::andOption(2));
    for (auto _ : state)
        engine.ApplyFilter(FilterEngine::Advanced);
    state.counters["visible"] = visibleRecords(db);
    state.SetItemsProcessed(state.iterations() * Records);
    engine.ApplyFilter(FilterEngine::Off);
}

} // namespace

BENCHMARK(BM_FilterSimpleOneField)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FilterSimpleAllFields)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FilterSimpleDateComparison)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FilterSimpleDateComparisonQtLocale)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FilterAdvancedThreeConditions)->Unit(benchmark::kMillisecond);
