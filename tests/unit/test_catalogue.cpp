// The catalogue from the emulator's definitions: the rows, the archive check
// as the emulator decides it, the slots each game marks, and definitions
// files that cannot be used.

#include "bindings/Profiles.h"
#include "catalogue/ArchiveCheck.h"
#include "catalogue/Catalogue.h"
#include "catalogue/Definitions.h"
#include "catalogue/GameCatalogue.h"
#include "catalogue/PlainXml.h"

#include <QFile>
#include <QHash>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>

using namespace catalogue;

namespace {

const QString kGamesXml = QStringLiteral(KESTRUN_REAL_EMULATOR "/Config/Games.xml");

const Definitions& todays() {
    static const Definitions definitions = [] {
        QFile file(kGamesXml);
        if (!file.open(QIODevice::ReadOnly))
            return Definitions{};
        return parseDefinitions(file.readAll()).value_or(Definitions{});
    }();
    return definitions;
}

#define NEED_TODAYS_DEFINITIONS()                                                                  \
    if (todays().sets.isEmpty())                                                                   \
    QSKIP("the emulator's Games.xml is not here: " + kGamesXml.toUtf8())

// What an archive holding exactly the files the definitions list for `set`
// (its own, as the emulator's own tools split a clone) looks like.
QList<ArchiveMember> filesOf(const QString& set, int drop = 0) {
    QList<ArchiveMember> members;
    for (const RomRegion& region : todays().sets[todays().indexOf(set)].regions) {
        for (const RomFile& file : region.files)
            members.append({file.name, file.crc32});
    }
    // From the middle: graphics files, required, and none a clone replaces.
    members.remove(members.size() / 2, drop);
    return members;
}

QByteArray game(const char* name, const char* parent, const char* title, const char* crc) {
    return QByteArray("<game name=\"") + name + "\"" +
           (parent ? QByteArray(" parent=\"") + parent + "\"" : QByteArray()) +
           "><identity><title>" + title +
           "</title></identity><roms><region name=\"crom\">"
           "<file offset=\"0\" name=\"a.20\" crc32=\"" +
           crc + "\"/></region></roms></game>";
}

} // namespace

class CatalogueTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void rowsOfTodaysDefinitions();
    void furtherRowsByTitleWhateverTheCase();
    void archiveCheck_data();
    void archiveCheck();
    void theLineOfACloneTellsItsParent_data();
    void theLineOfACloneTellsItsParent();
    void marksOfEveryRow();
    void definitionsThatCannotAllBeUsed_data();
    void definitionsThatCannotAllBeUsed();
    void oversizedDefinitionsAreNotRead();
    void netBoardSetsByTheirValue();
    void theQuickReaderReadsAsTheGeneralOne_data();
    void theQuickReaderReadsAsTheGeneralOne();
};

void CatalogueTest::rowsOfTodaysDefinitions() {
    NEED_TODAYS_DEFINITIONS();
    QCOMPARE(todays().sets.size(), 63);
    const QList<CatalogueRow> rows = buildCatalogue(&todays());
    const QList<QStringList> expected{
        {"vf3", "vf3a", "vf3c"},
        {"lemans24"},
        {"scud", "scudau", "scuddx", "scuddxo"},
        {"scudp", "scudplus", "scudplusa"},
        {"lostwsga", "lostwsgp"},
        {"von2", "von254g", "von2a", "von2o"},
        {"vs298", "vs29815"},
        {"srally2", "srally2p", "srally2pa", "srally2dx"},
        {"daytona2"},
        {"dayto2pe"},
        {"fvipers2", "fvipers2o"},
        {"harley", "harleya"},
        {"lamachin"},
        {"oceanhun", "oceanhuna"},
        {"swtrilgy", "swtrilgya", "swtrilgyp"},
        {"eca", "ecap", "ecau", "ecaj"},
        {"dirtdvls", "dirtdvlsu", "dirtdvlsau", "dirtdvlsj", "dirtdvlsg"},
        {"getbassdx", "getbassur", "getbass"},
        {"magtruck", "mgtrkbad"},
        {"bassdx"},
        {"skichamp"},
        {"spikeout"},
        {"spikeofe"},
        {"vf3tb"},
        {"vs2", "vs215", "vs215o"},
        {"vs299a", "vs299", "vs29915a"},
        {"vs2v991", "vs299j", "vs29915", "vs29915j"},
    };
    QCOMPARE(rows.size(), expected.size());
    int sets = 0;
    for (int i = 0; i < rows.size(); ++i) {
        QCOMPARE(rows[i].sets, expected[i]);
        QCOMPARE(rows[i].builtIn, i < 16 ? i : -1);
        sets += int(rows[i].sets.size());
    }
    QCOMPARE(sets, 64); // the 63 sets and the built-in "scudp"
    QCOMPARE(rows[3].title, QStringLiteral("Scud Race Plus"));
    QCOMPARE(todays().sets[rows[3].definition].name, QStringLiteral("scudplus"));
    QCOMPARE(rows[16].title, QStringLiteral("Dirt Devils"));
    QCOMPARE(rows[26].title, QStringLiteral("Virtua Striker 2 '99.1"));
}

void CatalogueTest::furtherRowsByTitleWhateverTheCase() {
    QByteArray xml = "<games>";
    int n = 0;
    for (const char* title : {"beta", "Alpha", "\xc3\x84rger", "alpha", "Beta", "zeta", "alpha"}) {
        const QByteArray number = QByteArray::number(++n);
        xml += game(("s" + number).constData(), nullptr, title, number.constData());
    }
    const auto definitions = parseDefinitions(xml + "</games>");
    QVERIFY(definitions);
    QStringList order;
    for (const CatalogueRow& row : buildCatalogue(&*definitions).mid(16))
        order << row.title + u':' + row.sets.join(u',');
    QCOMPARE(order, (QStringList{"Alpha:s2", "alpha:s4,s7", "beta:s1", "Beta:s5", "zeta:s6",
                                 QString::fromUtf8("\xc3\x84rger:s3")}));
}

void CatalogueTest::archiveCheck_data() {
    QTest::addColumn<QList<ArchiveMember>>("members");
    QTest::addColumn<int>("verdict");
    QTest::addColumn<QString>("set");
    QTest::addColumn<int>("missing");
    if (todays().sets.isEmpty())
        return;
    const auto V = [](ArchiveVerdict v) { return int(v); };
    QTest::newRow("a whole set") << filesOf("vf3") << V(ArchiveVerdict::Complete) << "vf3" << 0;
    QTest::newRow("a split clone")
        << filesOf("vf3a") << V(ArchiveVerdict::NeedsParent) << "vf3a" << 0;
    QTest::newRow("a merged clone")
        << filesOf("scud") + filesOf("scudplus") << V(ArchiveVerdict::Complete) << "scudplus" << 0;
    // Its files include some of scudplus's: the one with more found loads.
    QTest::newRow("scudplusa, not scudplus")
        << filesOf("scudplusa") << V(ArchiveVerdict::NeedsParent) << "scudplusa" << 0;
    QTest::newRow("scuddxo, not scuddx")
        << filesOf("scuddxo") << V(ArchiveVerdict::NeedsParent) << "scuddxo" << 0;
    QTest::newRow("srally2pa") << filesOf("srally2pa") << V(ArchiveVerdict::NeedsParent)
                               << "srally2pa" << 0;
    QTest::newRow("a parent without two files")
        << filesOf("lemans24", 2) << V(ArchiveVerdict::MissingFiles) << "lemans24" << 2;
    QTest::newRow("names count only without a CRC")
        << QList<ArchiveMember>{{"epr-19230c.20", 0x12345678}} << V(ArchiveVerdict::NotKnown) << ""
        << 0;
    QTest::newRow("nothing of any set") << QList<ArchiveMember>{{"readme.txt", 0xdeadbeef}}
                                        << V(ArchiveVerdict::NotKnown) << "" << 0;
    QTest::newRow("an empty archive")
        << QList<ArchiveMember>{} << V(ArchiveVerdict::NotKnown) << "" << 0;
}

void CatalogueTest::archiveCheck() {
    NEED_TODAYS_DEFINITIONS();
    QFETCH(QList<ArchiveMember>, members);
    QFETCH(int, verdict);
    QFETCH(QString, set);
    QFETCH(int, missing);
    const ArchiveCheck check = checkArchive(todays(), members);
    QCOMPARE(int(check.verdict), verdict);
    QCOMPARE(check.set >= 0 ? todays().sets[check.set].name : QString(), set);
    QCOMPARE(check.missing.size(), missing);
}

void CatalogueTest::theLineOfACloneTellsItsParent_data() {
    QTest::addColumn<QString>("parent"); // what lies where the emulator opens scud.zip
    QTest::addColumn<QString>("line");
    QTest::addColumn<bool>("starts");
    if (todays().sets.isEmpty())
        return;
    QStringList dropped;
    const QList<ArchiveMember> shortOfTwo = filesOf("scud", 2);
    for (const ArchiveMember& file : filesOf("scud")) {
        if (std::none_of(shortOfTwo.begin(), shortOfTwo.end(),
                         [&file](const ArchiveMember& m) { return m.name == file.name; }))
            dropped << file.name;
    }
    const QString needs = QStringLiteral("needs scud.zip beside it");
    QTest::newRow("nothing") << "" << needs + ", which is missing" << false;
    QTest::newRow("nothing, but SCUD.ZIP in the folder")
        << "SCUD.ZIP" << needs + "; the emulator looks for scud.zip, not SCUD.ZIP" << false;
    QTest::newRow("the parent") << "scud" << needs + ", which is there" << true;
    QTest::newRow("the parent without two files")
        << "scud-2" << needs + "; with it, 2 files missing: " + dropped.join(", ") << false;
    QTest::newRow("an unreadable archive")
        << "unreadable" << needs + ", which is unreadable" << false;
    QTest::newRow("an archive over the bounds")
        << "too many" << needs + ", which is not read: it has more than 4,096 files" << true;
    QTest::newRow("another game") << "vf3"
                                  << needs + ", which holds another game: Virtua Fighter 3 "
                                             "(Japan, Revision D)"
                                  << false;
    QTest::newRow("no set at all")
        << "readme" << needs + ", which holds no Model 3 set the emulator knows" << false;
}

void CatalogueTest::theLineOfACloneTellsItsParent() {
    NEED_TODAYS_DEFINITIONS();
    QFETCH(QString, parent);
    QFETCH(QString, line);
    QFETCH(bool, starts);
    const int scudplus = todays().indexOf(QStringLiteral("scudplus"));
    const QList<ArchiveMember> clone = filesOf("scudplus");
    const ArchiveCheck check = checkArchive(todays(), clone);
    QCOMPARE(int(check.verdict), int(ArchiveVerdict::NeedsParent));
    const QHash<QString, QList<ArchiveMember>> archives{
        {"scud", filesOf("scud")},
        {"scud-2", filesOf("scud", 2)},
        {"vf3", filesOf("vf3")},
        {"readme", {{"readme.txt", 0xdeadbeef}}},
    };
    std::optional<ParentCheck> beside;
    if (archives.contains(parent))
        beside = checkWithParent(todays(), scudplus, clone, archives[parent]);
    else if (parent == QLatin1String("unreadable"))
        beside = ParentCheck{false, {ArchiveVerdict::Unreadable, -1, {}}};
    else if (parent == QLatin1String("too many"))
        beside = ParentCheck{false, {ArchiveVerdict::TooManyFiles, -1, {}}};
    const CatalogueRow row = buildCatalogue(&todays())[3]; // Scud Race Plus
    const ArchiveReport report = reportArchive(todays(), row, QStringLiteral("scudplus.zip"), check,
                                               beside, parent.isUpper() ? parent : QString());
    QCOMPARE(report.line, "scudplus.zip: Scud Race Plus (Export, Twin/DX, Revision A), " + line);
    QCOMPARE(report.problem, starts ? QString() : line);
}

void CatalogueTest::marksOfEveryRow() {
    NEED_TODAYS_DEFINITIONS();
    const QList<CatalogueRow> rows = buildCatalogue(&todays());
    // Slots: 8-11 joystick, 12-15 fighting, 16-27 racing (20-23 the four
    // gears, 24-27 VR), 28 view change, 29 hand brake, 30-32 soccer, 33-44
    // twin sticks, 45-46 analog stick, 47-48 light gun.
    const QList<int> racing4{16, 17, 18, 19, 20, 21, 22, 23, 24, 25, 26, 27};
    const QList<int> drive{16, 17, 18, 19};
    const QList<int> fight{8, 9, 10, 11, 12, 13, 14, 15};
    const QList<int> soccer{8, 9, 10, 11, 30, 31, 32};
    const QList<int> none;
    const QList<QList<int>> expected{fight,
                                     drive + QList<int>{24, 25, 26, 27},
                                     racing4,
                                     racing4,
                                     {47, 48},
                                     {33, 34, 35, 36, 37, 38, 39, 40, 41, 42, 43, 44},
                                     soccer,
                                     QList<int>{16, 17, 18, 19, 20, 21, 22, 23, 28, 29},
                                     racing4,
                                     racing4,
                                     fight,
                                     drive + QList<int>{28},
                                     {47, 48},
                                     {47, 48},
                                     {45, 46},
                                     drive + QList<int>{28},
                                     drive + QList<int>{28},
                                     none,
                                     none,
                                     none,
                                     none,
                                     {8, 9, 10, 11},
                                     {8, 9, 10, 11},
                                     fight,
                                     soccer,
                                     soccer,
                                     soccer};
    QCOMPARE(rows.size(), expected.size());
    for (int i = 0; i < rows.size(); ++i) {
        const QList<int> marked =
            bindings::slotsReadBy(todays().sets[rows[i].definition].inputTypes);
        if (marked != expected[i])
            qWarning() << "row" << i + 1 << marked;
        QCOMPARE(marked, expected[i]);
    }
}

void CatalogueTest::definitionsThatCannotAllBeUsed_data() {
    QTest::addColumn<QByteArray>("xml");
    QTest::addColumn<QStringList>("sets");
    QTest::newRow("malformed") << "<games>" + game("vf3", nullptr, "VF3", "0x1") + "<game"
                               << QStringList{"-"};
    QTest::newRow("not definitions") << QByteArray("<html><body/></html>") << QStringList{"-"};
    QTest::newRow("a duplicate: the first counts")
        << "<games>" + game("vf3", nullptr, "First", "0x1") +
               game("vf3", nullptr, "Second", "0x2") + "</games>"
        << QStringList{"vf3:First"};
    QTest::newRow("a clone of nothing, a set without name or title")
        << "<games>" + game("vf3a", "vf3", "VF3", "0x1") + game("", nullptr, "Nameless", "0x2") +
               game("x", nullptr, "", "0x3") + game("scud", nullptr, "Scud Race", "0x4") +
               "</games>"
        << QStringList{"scud:Scud Race"};
    QTest::newRow("nothing left") << "<games>" + game("vf3a", "vf3", "VF3", "0x1") + "</games>"
                                  << QStringList{"-"};
    QTest::newRow("a clone of a clone of nothing")
        << "<games>" + game("b", "a", "B", "0x1") + game("a", "z", "A", "0x2") +
               game("c", nullptr, "C", "0x3") + "</games>"
        << QStringList{"c:C"};
    QTest::newRow("a parent that is a clone counts as none")
        << "<games>" + game("a", nullptr, "A", "0x1") + game("b", "a", "A", "0x2") +
               game("c", "b", "C", "0x3") + "</games>"
        << QStringList{"a:A", "b:A<a", "c:C"};
    QTest::newRow("the same, clones before their parents")
        << "<games>" + game("c", "b", "C", "0x3") + game("b", "a", "A", "0x2") +
               game("a", nullptr, "A", "0x1") + "</games>"
        << QStringList{"c:C", "b:A<a", "a:A"};
    QTest::newRow("a loop of parents stays, without a parent")
        << "<games>" + game("a", "b", "A", "0x1") + game("b", "a", "B", "0x2") +
               game("c", "c", "C", "0x3") + game("d", "a", "D", "0x4") +
               game("e", "z", "E", "0x5") + "</games>"
        << QStringList{"a:A", "b:B", "c:C", "d:D"};
}

void CatalogueTest::definitionsThatCannotAllBeUsed() {
    QFETCH(QByteArray, xml);
    QFETCH(QStringList, sets);
    const std::optional<Definitions> definitions = parseDefinitions(xml);
    QStringList read;
    if (!definitions)
        read << "-";
    else {
        for (const GameSet& set : definitions->sets)
            read << set.name + u':' + set.title +
                        (set.parent >= 0 ? u'<' + definitions->sets[set.parent].name : QString());
    }
    QCOMPARE(read, sets);
}

void CatalogueTest::oversizedDefinitionsAreNotRead() {
    QTemporaryDir dir;
    QFile file(dir.filePath(QStringLiteral("Games.xml")));
    QVERIFY(file.open(QIODevice::WriteOnly));
    const QByteArray valid = "<games>" + game("vf3", nullptr, "VF3", "0x1") + "</games>";
    QVERIFY(file.write(valid) == valid.size());
    QVERIFY(file.resize(17 << 20)); // a valid start, then 17 MiB of zeros
    file.close();
    const DefinitionsRead read = readDefinitions(file.fileName());
    QVERIFY(!read.definitions);
    QVERIFY(read.problem.contains(QLatin1String("larger than 16 MiB")));
    QVERIFY(readDefinitions(dir.filePath(QStringLiteral("none.xml")))
                .problem.contains(QLatin1String("cannot be read")));
}

void CatalogueTest::netBoardSetsByTheirValue() {
    NEED_TODAYS_DEFINITIONS();
    QStringList linked;
    for (const GameSet& set : todays().sets) {
        if (set.netBoard)
            linked << set.name;
    }
    linked.sort();
    // scuddx and scuddxo carry the element, false.
    QCOMPARE(linked.join(u' '),
             QStringLiteral("dayto2pe daytona2 dirtdvls dirtdvlsau dirtdvlsg dirtdvlsj dirtdvlsu "
                            "harley harleya lemans24 scud scudau scudplus scudplusa skichamp "
                            "spikeofe spikeout srally2 von2 von254g von2a von2o"));
}

// Every field of every set, or "-" for none.
QString described(const std::optional<Definitions>& definitions) {
    if (!definitions)
        return QStringLiteral("-");
    QStringList out;
    for (const GameSet& set : definitions->sets) {
        out << QStringList{set.name,
                           set.parentName,
                           QString::number(set.parent),
                           set.title,
                           set.version,
                           set.manufacturer,
                           set.year,
                           set.inputTypes.join(u','),
                           QString::number(set.netBoard)}
                   .join(u'|');
        for (const RomRegion& region : set.regions) {
            out << u' ' + region.name + (region.required ? u'!' : u'?');
            for (const RomFile& file : region.files)
                out << QStringLiteral("  %1 %2 %3 %4")
                           .arg(file.name, QString::number(file.crc32, 16),
                                QString::number(file.hasCrc), QString::number(file.offset));
        }
    }
    return out.join(u'\n');
}

void CatalogueTest::theQuickReaderReadsAsTheGeneralOne_data() {
    QTest::addColumn<QByteArray>("xml");
    QTest::addColumn<bool>("quick"); // read by the quick reader alone
    QFile file(kGamesXml);
    if (file.open(QIODevice::ReadOnly))
        QTest::newRow("today's definitions") << file.readAll() << true;
    const QByteArray a = game("a", nullptr, "A", "0x1");
    QTest::newRow("every field")
        << QByteArray("<games><game name=\"a\"><identity><title>A</title><version>1</version>"
                      "<manufacturer>M</manufacturer><year>1996</year></identity><hardware>"
                      "<inputs><input type=\"common\"/><input type=\"common\"/><input "
                      "type='fighting' /></inputs></hardware><roms><region name=\"crom\"><file "
                      "offset=\"0x10\" name=\"a.20\" crc32=\"0xDEADBEEF\"/></region><region "
                      "name=\"x\" required=\"false\"/></roms></game></games>")
        << true;
    QTest::newRow("references and white space")
        << QByteArray(
               "<games>\r\n<game  name = \" a&#9;b\r\n\tc&#x20; \" ><identity><title>\r\n"
               "Harley &amp; L.A. &#x52;iders&#10; &#x1F600;</title></identity><roms><region "
               "name='r'><file name=\"&quot;&apos;&lt;&gt;\" crc32=\" 12 \"/></region>"
               "</roms></game></games>")
        << true;
    QTest::newRow("comments, text and what no one reads")
        << "<!-- c --> <games><!-- x --> text <other a=\"1\">" + a +
               "</other><game name=\"b\"><identity><title>T<sub>skip</sub>ail</title><!-- y -->"
               "</identity>junk<x/></game></games> after the end <<<"
        << true;
    QTest::newRow("not games") << "<gams>" + a + "</gams>" << true;
    QTest::newRow("a declaration") << "<?xml version=\"1.0\"?><games>" + a + "</games>" << false;
    QTest::newRow("a DOCTYPE with an entity")
        << QByteArray("<!DOCTYPE games [<!ENTITY t \"Title\">]><games><game name=\"a\"><identity>"
                      "<title>&t;</title></identity></game></games>")
        << false;
    QTest::newRow("CDATA") << QByteArray("<games><game name=\"a\"><identity><title><![CDATA[<A>]]>"
                                         "</title></identity></game></games>")
                           << false;
    QTest::newRow("beyond ASCII") << "<games>" + game("a", nullptr, "\xc3\x84rger", "1") +
                                         "</games>"
                                  << false;
    // The general reader decodes it all first: a bad byte after the end counts.
    QTest::newRow("not UTF-8 after the end") << "<games>" + a + "</games>\xff" << false;
    QTest::newRow("a namespace") << "<games xmlns:k=\"urn:k\"><k:game/>" + a + "</games>" << false;
    QTest::newRow("tags crossed") << "<games>" + a + "<x><y></x></y></games>" << false;
    QTest::newRow("an attribute twice") << "<games>" + a + "<x b=\"1\" b=\"2\"/></games>" << false;
    QTest::newRow("attributes run together")
        << "<games>" + a + "<x b=\"1\"c=\"2\"/></games>" << false;
    QTest::newRow("< in an attribute") << "<games>" + a + "<x b=\"<\"/></games>" << false;
    QTest::newRow("an unknown entity") << "<games>" + a + "&nbsp;</games>" << false;
    QTest::newRow("a reference to no character") << "<games>" + a + "&#0;</games>" << false;
    QTest::newRow("]]> in text") << "<games>" + a + "]]></games>" << false;
    QTest::newRow("-- in a comment") << "<games>" + a + "<!-- a -- b --></games>" << false;
    QTest::newRow("a control character") << "<games>" + a + "\x01</games>" << false;
    QTest::newRow("cut short") << "<games>" + a << false;
    QTest::newRow("text before the root") << "text<games>" + a + "</games>" << false;
}

void CatalogueTest::theQuickReaderReadsAsTheGeneralOne() {
    QFETCH(QByteArray, xml);
    QFETCH(bool, quick);
    PlainXml plain(xml);
    if (plain.readNextStartElement())
        plain.skipCurrentElement();
    QCOMPARE(!plain.hasError(), quick);
    QCOMPARE(described(parseDefinitions(xml)),
             described(parseDefinitions(xml, XmlReading::General)));
}

QTEST_GUILESS_MAIN(CatalogueTest)
#include "test_catalogue.moc"
