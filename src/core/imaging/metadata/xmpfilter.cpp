#include "core/imaging/metadata/xmpfilter.h"

#include <QXmlStreamReader>
#include <QXmlStreamWriter>
#include <vector>

namespace tessaly {

namespace {

const QString kMeta = QStringLiteral("adobe:ns:meta/");
const QString kRdf = QStringLiteral("http://www.w3.org/1999/02/22-rdf-syntax-ns#");
const QString kXml = QStringLiteral("http://www.w3.org/XML/1998/namespace");
const QString kDc = QStringLiteral("http://purl.org/dc/elements/1.1/");
const QString kXmp = QStringLiteral("http://ns.adobe.com/xap/1.0/");
const QString kPhotoshop = QStringLiteral("http://ns.adobe.com/photoshop/1.0/");
const QString kExif = QStringLiteral("http://ns.adobe.com/exif/1.0/");

bool isKept(QStringView uri, QStringView name, bool keepLocation) {
    const std::pair<const QString*, const char*> kept[] = {{&kDc, "title"},
                                                           {&kDc, "description"},
                                                           {&kDc, "subject"},
                                                           {&kDc, "rights"},
                                                           {&kDc, "creator"},
                                                           {&kXmp, "CreateDate"},
                                                           {&kXmp, "ModifyDate"},
                                                           {&kXmp, "Rating"},
                                                           {&kPhotoshop, "DateCreated"},
                                                           {&kExif, "DateTimeOriginal"}};
    for (const auto& [namespaceUri, local] : kept) {
        if (uri == *namespaceUri && name == QLatin1String(local)) return true;
    }
    return keepLocation && uri == kExif && name.startsWith(QLatin1String("GPS"));
}

// Where an element stands in the packet: the properties are the children of an
// rdf:Description directly inside rdf:RDF.
enum class Place { Other, Rdf, Description };

// Reads a packet and writes the fresh one as it goes.
class Rebuild {
public:
    explicit Rebuild(bool keepLocation) : keepLocation_(keepLocation), writer_(&out_) {}

    QByteArray run(const QByteArray& xml) {
        QXmlStreamReader reader(xml);
        begin();
        std::vector<Place> open;
        while (!reader.atEnd()) {
            const QXmlStreamReader::TokenType token = reader.readNext();
            if (token == QXmlStreamReader::EndElement) open.pop_back();
            if (token != QXmlStreamReader::StartElement) continue;
            const Place parent = open.empty() ? Place::Other : open.back();
            if (parent == Place::Description) {
                property(reader);
                continue;
            }
            const bool rdf = reader.namespaceUri() == kRdf;
            if (rdf && reader.name() == QLatin1String("RDF")) {
                open.push_back(Place::Rdf);
            } else if (rdf && reader.name() == QLatin1String("Description") &&
                       parent == Place::Rdf) {
                open.push_back(Place::Description);
                attributeProperties(reader);
            } else {
                open.push_back(Place::Other);
            }
        }
        if (reader.hasError() || kept_ == 0) return {};
        end();
        return out_;
    }

private:
    bool keepLocation_;
    QByteArray out_;
    QXmlStreamWriter writer_;
    int kept_ = 0;

    void begin() {
        writer_.writeProcessingInstruction(
            QStringLiteral("xpacket"),
            QStringLiteral("begin='%1' id='W5M0MpCehiHzreSzNTczkc9d'").arg(QChar(0xFEFF)));
        writer_.writeNamespace(kMeta, QStringLiteral("x"));
        writer_.writeStartElement(kMeta, QStringLiteral("xmpmeta"));
        writer_.writeNamespace(kRdf, QStringLiteral("rdf"));
        writer_.writeStartElement(kRdf, QStringLiteral("RDF"));
        writer_.writeStartElement(kRdf, QStringLiteral("Description"));
        writer_.writeAttribute(kRdf, QStringLiteral("about"), QString());
        writer_.writeNamespace(kDc, QStringLiteral("dc"));
        writer_.writeNamespace(kXmp, QStringLiteral("xmp"));
        writer_.writeNamespace(kPhotoshop, QStringLiteral("photoshop"));
        writer_.writeNamespace(kExif, QStringLiteral("exif"));
    }

    void end() {
        writer_.writeEndElement();  // rdf:Description
        writer_.writeEndElement();  // rdf:RDF
        writer_.writeEndElement();  // x:xmpmeta
        writer_.writeProcessingInstruction(QStringLiteral("xpacket"), QStringLiteral("end='w'"));
    }

    // Simple properties written as attributes of rdf:Description become elements.
    void attributeProperties(const QXmlStreamReader& reader) {
        for (const QXmlStreamAttribute& attribute : reader.attributes()) {
            if (!isKept(attribute.namespaceUri(), attribute.name(), keepLocation_)) continue;
            writer_.writeTextElement(attribute.namespaceUri().toString(),
                                     attribute.name().toString(), attribute.value().toString());
            ++kept_;
        }
    }

    // A property element: copied whole when kept, else passed over.
    void property(QXmlStreamReader& reader) {
        if (!isKept(reader.namespaceUri(), reader.name(), keepLocation_)) {
            reader.skipCurrentElement();
            return;
        }
        ++kept_;
        for (int depth = 0;; reader.readNext()) {
            if (reader.hasError()) return;
            if (reader.isStartElement()) {
                ++depth;
                if (reader.namespaceUri().isEmpty()) {
                    writer_.writeStartElement(reader.name().toString());
                } else {
                    writer_.writeStartElement(reader.namespaceUri().toString(),
                                              reader.name().toString());
                }
                for (const QXmlStreamAttribute& attribute : reader.attributes())
                    writeAttribute(attribute);
            } else if (reader.isEndElement()) {
                writer_.writeEndElement();
                if (--depth == 0) return;
            } else if (reader.isCharacters()) {
                writer_.writeCharacters(reader.text().toString());
            }
        }
    }

    void writeAttribute(const QXmlStreamAttribute& attribute) {
        const QString name = attribute.name().toString(), value = attribute.value().toString();
        if (attribute.namespaceUri().isEmpty()) {
            writer_.writeAttribute(name, value);
        } else if (attribute.namespaceUri() == kXml) {
            writer_.writeAttribute(QStringLiteral("xml:") + name, value);
        } else {
            writer_.writeAttribute(attribute.namespaceUri().toString(), name, value);
        }
    }
};

}  // namespace

QByteArray XmpFilter::filtered(const QByteArray& xml) const {
    return Rebuild(keepLocation_).run(xml);
}

}  // namespace tessaly
