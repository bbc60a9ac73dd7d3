#include "orvaneciepointsreader.h"

#include "orvanetextreader.h"

#include <QtGlobal>

namespace {

struct Field
{
    const char* data = nullptr;
    int size = 0;
};

int colorComponent(const Field& field)
{
    return qBound(0, OrvaneText::toInteger(QString::fromLatin1(field.data, field.size)), 255);
}

} // namespace

bool OrvaneCiePointsReader::readFile(const QString& fileName)
{
    OrvaneLineReader reader(fileName);
    if (!reader.isOpen()) {
        points.clear();
        skippedRows = 0;
        lastError = reader.openFailure(fileName + QStringLiteral(" does not exist."));
        return false;
    }
    read(reader);
    return true;
}

void OrvaneCiePointsReader::read(OrvaneLineReader& reader)
{
    points.clear();
    skippedRows = 0;
    lastError.clear();
    reader.skipLines(headerLines);
    Field fields[fieldsPerRow];
    while (reader.nextLine()) {
        const char* line = reader.lineData();
        const int size = reader.lineSize();
        // Split at blanks on the bytes: only the nine fields used are kept.
        int count = 0;
        int pos = 0;
        while (count < fieldsPerRow) {
            while (pos < size && line[pos] == ' ')
                ++pos;
            if (pos >= size)
                break;
            const int start = pos;
            while (pos < size && line[pos] != ' ')
                ++pos;
            fields[count++] = Field{line + start, pos - start};
        }
        if (count < fieldsPerRow) {
            ++skippedRows;
            continue;
        }
        OrvaneCiePoint point;
        point.x = OrvaneText::toNumber(fields[0].data, fields[0].size);
        point.y = OrvaneText::toNumber(fields[1].data, fields[1].size);
        point.red = colorComponent(fields[6]);
        point.green = colorComponent(fields[7]);
        point.blue = colorComponent(fields[8]);
        points.append(point);
    }
}
