#include "selection_json.h"

#include <cstdio>

std::string JsonString(const std::string &s) {
    std::string out = "\"";
    for (const char c : s) {
        switch (c) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            if (static_cast<unsigned char>(c) < 0x20) {
                char szEscape[8];
                std::snprintf(szEscape, sizeof(szEscape), "\\u%04x", unsigned(c));
                out += szEscape;
            } else {
                // Bytes from 0x80 up pass as they are: the demo's paths are UTF-8, read from the
                // Unicode command line, and so are the names of what the library picked.
                out += c;
            }
        }
    }
    return out + "\"";
}

std::string SelectionJson(const SelectionReport &report) {
    std::string json = "{\"mode\":" + JsonString(report.mode) + ",\"rect\":[" +
                       std::to_string(report.left) + "," + std::to_string(report.top) + "," +
                       std::to_string(report.right) + "," + std::to_string(report.bottom) + "]";
    if (report.bHasHostRect)
        json += ",\"hostRect\":[" + std::to_string(report.hostLeft) + "," +
                std::to_string(report.hostTop) + "," + std::to_string(report.hostRight) + "," +
                std::to_string(report.hostBottom) + "]";
    if (report.mode == "polygon") {
        json += ",\"vertices\":[";
        for (size_t i = 0; i < report.vertices.size(); ++i)
            json += (i ? ",[" : "[") + std::to_string(report.vertices[i].first) + "," +
                    std::to_string(report.vertices[i].second) + "]";
        json += "]";
    }
    if (report.bHasWindow) {
        char szHandle[16];
        std::snprintf(szHandle, sizeof(szHandle), "0x%08lX", report.window);
        json += ",\"window\":" + JsonString(szHandle);
    }
    if (!report.targetKind.empty()) {
        json += ",\"target\":{\"kind\":" + JsonString(report.targetKind);
        if (!report.targetName.empty())
            json += ",\"name\":" + JsonString(report.targetName);
        if (report.nTargetType)
            json += ",\"type\":" + std::to_string(report.nTargetType);
        json += "}";
    }
    return json + ",\"file\":" + JsonString(report.file) + "}";
}
