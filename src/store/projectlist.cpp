#include "projectlist.h"

#include "bus/broadcastsocket.h"
#include "store/databaseinit.h"
#include "store/globals.h"
#include "store/safesave.h"

#include <QCoreApplication>
#include <QDebug>
#include <QDir>
#include <QDomDocument>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QSet>
#include <QTextStream>
#include <QTimer>

#include <functional>

namespace {

const int kIndent = 4;

QDomElement textElement(QDomDocument &doc, const QString &tag, const QString &text)
{
    QDomElement element = doc.createElement(tag);
    element.appendChild(doc.createTextNode(text));
    return element;
}

QDomElement newProjectElement(QDomDocument &doc, const QString &name)
{
    QDomElement project = doc.createElement(QStringLiteral("project"));
    project.appendChild(textElement(doc, QStringLiteral("name"), name));
    project.appendChild(textElement(doc, QStringLiteral("indoor_temperature_low"), QStringLiteral("20")));
    project.appendChild(textElement(doc, QStringLiteral("indoor_temperature_high"), QStringLiteral("35")));
    project.appendChild(textElement(doc, QStringLiteral("network_type"), QStringLiteral("0")));
    return project;
}

// Writes the document in one step: a reader never sees a half-written list.
bool saveDocument(QDomDocument &doc)
{
    // The parser hands the declaration back in single quotes; keep one form.
    QDomNode first = doc.firstChild();
    if (first.isProcessingInstruction() && first.nodeName() == QLatin1String("xml"))
        first.setNodeValue(QStringLiteral("version=\"1.0\" encoding=\"UTF-8\""));
    // The text is written in one piece, so that a write cut short shows in its length.
    QByteArray bytes;
    {
        QTextStream stream(&bytes, QIODevice::WriteOnly);
        stream.setCodec("UTF-8");
        doc.save(stream, kIndent, QDomNode::EncodingFromDocument);
    }
    QSaveFile file(projectListPath());
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    return commitSaveFile(file, file.write(bytes) == bytes.size());
}

bool loadDocument(QDomDocument &doc)
{
    QFile file(projectListPath());
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const bool parsed = doc.setContent(&file, true);
    file.close();
    return parsed;
}

// Reads the list, lets edit change it, and saves it again. False when the list
// could not be read or written; the file is then unchanged.
bool modifyDocument(const std::function<void(QDomDocument &)> &edit)
{
    QDomDocument doc;
    if (!loadDocument(doc))
        return false;
    edit(doc);
    if (saveDocument(doc))
        return true;
    qDebug() << "failed to write" << projectListPath();
    return false;
}

QString firstNameText(const QDomElement &project)
{
    for (QDomNode child = project.firstChild(); !child.isNull(); child = child.nextSibling()) {
        if (child.nodeName() == QLatin1String("name"))
            return child.toElement().text();
    }
    return QString();
}

bool hasNameChild(const QDomElement &project)
{
    for (QDomNode child = project.firstChild(); !child.isNull(); child = child.nextSibling()) {
        if (child.nodeName() == QLatin1String("name"))
            return true;
    }
    return false;
}

// Calls visit for each child named node of the project named project, as the
// readers find them: only children after the matching name count.
void forEachProjectNode(QDomDocument &doc, const QString &project, const QString &node,
                        const std::function<void(QDomNode &)> &visit)
{
    const QDomNodeList projects = doc.elementsByTagName(QStringLiteral("project"));
    for (int i = 0; i < projects.count(); ++i) {
        bool matched = false;
        const QDomElement element = projects.at(i).toElement();
        for (QDomNode child = element.firstChild(); !child.isNull(); child = child.nextSibling()) {
            if (child.nodeName() == QLatin1String("name")) {
                if (child.toElement().text() == project)
                    matched = true;
                continue;
            }
            if (matched && child.nodeName() == node)
                visit(child);
        }
        if (matched)
            return;
    }
}

void setNodeText(QDomDocument &doc, QDomNode &node, const QString &text)
{
    if (node.hasChildNodes())
        node.firstChild().setNodeValue(text);
    else
        node.appendChild(doc.createTextNode(text));
}

// Keeps a list that exists but cannot be used as project.xml.bak, so that a
// damaged file can still be recovered by hand after a fresh list replaces it.
void backUpProjectList()
{
    const QString path = projectListPath();
    if (!QFile::exists(path))
        return;
    const QString backup = path + QStringLiteral(".bak");
    QFile::remove(backup);
    if (!QFile::rename(path, backup))
        qDebug() << "failed to keep" << path << "as" << backup;
}

// Start-up runs before the main window shows the hub's information texts: the
// text goes out once the event loop runs, when the window is up.
void sayAtStart(const QString &text)
{
    QTimer::singleShot(0, &gl_socket, [text] { emit gl_socket.signalsInformation(text); });
}

bool projectListParses()
{
    QDomDocument doc;
    return loadDocument(doc);
}

} // namespace

QString databaseFolder()
{
    return gl_curPath + QStringLiteral("/database");
}

QString projectListPath()
{
    return gl_curPath + QStringLiteral("/database/project.xml");
}

bool isValidProjectName(const QString &name)
{
    if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String(".."))
        return false;
    for (const QChar c : name) {
        const ushort u = c.unicode();
        if (u < 0x20 || u == 0x7F || c == QLatin1Char('/') || c == QLatin1Char('\\'))
            return false;
        if (c.category() == QChar::Other_Control)
            return false;
    }
    // The database is "<folder>/<name>/<name>.db3", and SQLite keeps its journal
    // beside it as "<name>.db3-journal": that file name must fit in 255 bytes, and
    // the journal's whole path, links resolved, in SQLite's 512.
    // Names are checked on every path built from them, paints included: the folder's
    // real path is looked up once per application folder, once it exists.
    static QString measuredFor;
    static int folderBytes = 0;
    if (measuredFor != gl_curPath) {
        const QString real = QFileInfo(databaseFolder()).canonicalFilePath();
        const QString folder = QDir::cleanPath(QFileInfo(databaseFolder()).absoluteFilePath());
        folderBytes = (real.isEmpty() ? folder : real).toUtf8().size();
        measuredFor = real.isEmpty() ? QString() : gl_curPath;
    }
    const int bytes = name.toUtf8().size();
    const int journalName = bytes + int(qstrlen(".db3-journal"));
    return journalName <= 255 && folderBytes + 1 + bytes + 1 + journalName <= 512;
}

QString projectFolder(const QString &name)
{
    if (!isValidProjectName(name))
        return QString();
    return gl_curPath + QStringLiteral("/database/") + name;
}

QString projectDatabasePath(const QString &name)
{
    const QString folder = projectFolder(name);
    if (folder.isEmpty())
        return QString();
    return folder + QLatin1Char('/') + name + QStringLiteral(".db3");
}

void init_projectConfig()
{
    if (QFile::exists(projectListPath()) && !projectListParses())
        backUpProjectList();

    QDomDocument doc;
    doc.appendChild(doc.createProcessingInstruction(QStringLiteral("xml"),
                                                    QStringLiteral("version=\"1.0\" encoding=\"UTF-8\"")));
    QDomElement root = doc.createElement(QStringLiteral("general"));
    doc.appendChild(root);
    root.appendChild(newProjectElement(doc, QStringLiteral("Home")));
    QDomElement current = doc.createElement(QStringLiteral("current"));
    current.appendChild(textElement(doc, QStringLiteral("name"), QStringLiteral("Home")));
    root.appendChild(current);
    if (!saveDocument(doc))
        qDebug() << "failed to write" << projectListPath();
}

bool getProjectList(QStringList &list)
{
    QDomDocument doc;
    if (!loadDocument(doc))
        return false;
    const QDomNodeList projects = doc.elementsByTagName(QStringLiteral("project"));
    for (int i = 0; i < projects.count(); ++i) {
        const QDomElement project = projects.at(i).toElement();
        if (hasNameChild(project))
            list.append(firstNameText(project));
    }
    return true;
}

bool getCurrentProject(QString &name)
{
    QDomDocument doc;
    if (!loadDocument(doc))
        return false;
    const QDomNodeList currents = doc.elementsByTagName(QStringLiteral("current"));
    if (currents.isEmpty())
        return true;
    name = currents.at(0).firstChild().toElement().text();
    return true;
}

bool setCurrentProject(const QString &name)
{
    return modifyDocument([&](QDomDocument &doc) {
        // A list without a current entry gains one, after its last entry; a current
        // entry that does not start with a name gains one in front, where the readers
        // look. Every other entry stays as it was.
        const QDomNodeList currents = doc.elementsByTagName(QStringLiteral("current"));
        QDomElement current = currents.isEmpty() ? QDomElement() : currents.at(0).toElement();
        if (current.isNull()) {
            current = doc.createElement(QStringLiteral("current"));
            doc.documentElement().appendChild(current);
        }
        QDomNode child = current.firstChild();
        if (child.nodeName() != QLatin1String("name"))
            child = current.insertBefore(doc.createElement(QStringLiteral("name")), child);
        setNodeText(doc, child, name);
    });
}

bool isProjectExist(const QString &name)
{
    QStringList list;
    if (!getProjectList(list))
        return false;
    return list.contains(name, Qt::CaseSensitive);
}

bool getProjectNode(const QString &project, const QString &node, QString &value)
{
    QDomDocument doc;
    if (!loadDocument(doc))
        return false;
    forEachProjectNode(doc, project, node, [&](QDomNode &child) { value = child.toElement().text(); });
    return true;
}

bool setProjectNode(const QString &project, const QString &node, const QString &value)
{
    return setProjectNodes(project, {qMakePair(node, value)});
}

bool setProjectNodes(const QString &project, const QList<QPair<QString, QString>> &nodeValues)
{
    return modifyDocument([&](QDomDocument &doc) {
        for (const auto &nodeValue : nodeValues) {
            forEachProjectNode(doc, project, nodeValue.first,
                               [&](QDomNode &child) { setNodeText(doc, child, nodeValue.second); });
        }
    });
}

bool addProject(const QString &name)
{
    if (!isValidProjectName(name)) {
        qDebug() << "refused project name" << name;
        return false;
    }
    return modifyDocument([&](QDomDocument &doc) {
        QDomElement root = doc.documentElement();
        root.appendChild(newProjectElement(doc, name));
    });
}

namespace {

QSet<QString> &heldNames()
{
    static QSet<QString> names;
    return names;
}

} // namespace

void holdProjectNames(const QStringList &names)
{
    for (const QString &name : names)
        heldNames().insert(name);
}

void releaseProjectNames(const QStringList &names)
{
    for (const QString &name : names)
        heldNames().remove(name);
}

bool isProjectNameHeld(const QString &name)
{
    return heldNames().contains(name);
}

bool deleteProject(const QString &name)
{
    return modifyDocument([&](QDomDocument &doc) {
        QDomElement root = doc.documentElement();
        const QDomNodeList projects = doc.elementsByTagName(QStringLiteral("project"));
        for (int i = 0; i < projects.count(); ++i) {
            QDomElement project = projects.at(i).toElement();
            if (hasNameChild(project) && firstNameText(project) == name) {
                root.removeChild(project);
                return;
            }
        }
    });
}

void preInitProject()
{
    QDir().mkdir(databaseFolder() + QLatin1Char('/'));

    QStringList list;
    getProjectList(list);
    if (list.isEmpty())
        init_projectConfig();

    QString name;
    getCurrentProject(name);
    if (!isValidProjectName(name)) {
        // The current entry cannot name a folder: fall back to the first listed
        // project that can, or to a fresh list when none can.
        qDebug() << "current project name refused:" << name;
        QStringList projects;
        getProjectList(projects);
        name.clear();
        for (const QString &project : projects) {
            if (isValidProjectName(project)) {
                name = project;
                break;
            }
        }
        if (name.isEmpty()) {
            backUpProjectList();
            init_projectConfig();
            name = QStringLiteral("Home");
        }
        // The list names the project opened here; a list that cannot be written is said.
        if (!setCurrentProject(name))
            sayAtStart(QCoreApplication::translate("MainWindow", "Failed to save the project list!"));
    }

    const QString folder = projectFolder(name);
    if (!QDir(folder).exists())
        QDir().mkdir(folder);
    if (!initDatabase(projectDatabasePath(name))) {
        qDebug() << "the database of project" << name << "could not be opened or brought to the schema";
        sayAtStart(QCoreApplication::translate("MainWindow", "Failed to open the project database!"));
    }
}
