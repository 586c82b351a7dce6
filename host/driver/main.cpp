// The host's driver: loads the model library by file name, creates one instance
// through its factory, drives it through its operations and prints what the
// library told the host.
#include <CLI/CLI.hpp>
#include <iostream>
#include <nlohmann/json.hpp>

#include "session.h"

namespace {

using nlohmann::json;
using namespace qtvhost;

std::string DefaultLibraryPath(const char* argv0) {
    std::string self = argv0 ? argv0 : "";
    const std::size_t slash = self.find_last_of("/\\");
    const std::string dir = slash == std::string::npos ? "." : self.substr(0, slash);
    return dir + "/" + LoadedModule::FileName("Orvane350_1");
}

std::string KindOf(const ZR_Container::Property& p) {
    if (p.via == 1) return "reference";
    if (p.via == 2) return "replaceable";
    return p.member ? p.member->ZR_KindName() : "?";
}

json Values(const std::vector<AssignmentRecord>& assignments) {
    json values = json::array();
    for (const AssignmentRecord& a : assignments) {
        json v{{"name", a.targetName}, {"value", a.value.ToText()}, {"statement", a.value.Statement()}};
        if (a.pass >= 0) v["pass"] = a.pass;
        // The value the user fixed is the one that holds.
        if (a.pass < 0 && a.target && a.target->HasUserValue()) v["userValue"] = a.target->EffectiveValue().ToText();
        if (a.status != 0) v["status"] = a.status;
        values.push_back(v);
    }
    return values;
}

json Report(const std::string& typeName, const ZR_ModelType& instance, const json& linked, const TermNames& names) {
    const Host& host = Host::Get();
    json report;
    report["type"] = typeName;
    json members = json::array();
    for (int i = 0; i < instance.PropertyCount(); ++i) {
        const ZR_Container::Property& p = instance.PropertyAt(i);
        json m{{"name", p.name}, {"kind", KindOf(p)}, {"direction", DirectionName(p.direction)}};
        if (p.hasDescription) m["description"] = p.description;
        const auto* type = dynamic_cast<const ZR_Type*>(p.member);
        m["exported"] = type ? type->IsToBeExported() : true;
        m["hostPortType"] = type ? type->GetHostPortType() : 0;
        members.push_back(m);
    }
    report["members"] = members;
    if (!linked.empty()) report["linked"] = linked;
    report["values"] = Values(host.assignments);
    json equations = json::array();
    for (std::size_t i = 0; i < host.expressions.size(); ++i) {
        const ExpressionRecord& e = host.expressions[i];
        json incidence = json::array();
        if (i < host.incidence.size()) {
            const IncidenceRecord& r = host.incidence[i];
            for (std::uint32_t k = 0; k < r.termCount; ++k)
                incidence.push_back(names(*host.incidenceTerms[r.firstTerm + k]));
        }
        equations.push_back({{"index", e.index},
                             {"name", host.EquationName(e)},
                             {"group", e.group},
                             {"incidence", incidence},
                             {"prefix", PrefixText(host, e, names)},
                             {"infix", InfixText(host, e, names)}});
    }
    report["equations"] = equations;
    if (!host.errors.empty()) report["errors"] = host.errors;
    return report;
}

void PrintValues(const json& values, std::ostream& out, const std::string& indent) {
    for (const json& v : values) {
        out << indent << v["name"].get<std::string>() << " = " << v["value"].get<std::string>() << "  (statement "
            << v["statement"].get<int>();
        if (v.contains("pass")) out << ", pass " << v["pass"].get<int>();
        if (v.contains("userValue")) out << "; the user's " << v["userValue"].get<std::string>() << " holds";
        out << ")\n";
    }
}

void PrintText(const json& report, std::ostream& out) {
    out << "type " << report["type"].get<std::string>() << "\n";
    out << "members:\n";
    for (const json& m : report["members"]) {
        out << "  " << m["name"].get<std::string>() << "  " << m["kind"].get<std::string>() << "  "
            << m["direction"].get<std::string>() << "  "
            << (m["exported"].get<bool>() ? "exported" : "not exported");
        if (m["hostPortType"].get<int>() != 0) out << "  host port type " << m["hostPortType"].get<int>();
        if (m.contains("description")) out << "  \"" << m["description"].get<std::string>() << "\"";
        out << "\n";
    }
    if (report.contains("linked")) {
        for (const json& l : report["linked"]) {
            out << l["name"].get<std::string>() << " linked to a new " << l["type"].get<std::string>() << ", values:\n";
            PrintValues(l["values"], out, "  ");
        }
    }
    out << "values:\n";
    PrintValues(report["values"], out, "  ");
    out << "equations:\n";
    for (const json& e : report["equations"]) {
        out << "  " << e["index"].get<int>() << "  " << e["name"].get<std::string>() << "  group "
            << e["group"].get<int>() << "\n    incidence:";
        for (const json& t : e["incidence"]) out << " " << t.get<std::string>();
        out << "\n    prefix: " << e["prefix"].get<std::string>() << "\n";
        out << "    residual: " << e["infix"].get<std::string>() << "\n";
    }
    if (report.contains("errors")) {
        out << "host errors:\n";
        for (const json& e : report["errors"]) out << "  " << e.get<std::string>() << "\n";
    }
}

}  // namespace

int main(int argc, char** argv) {
    CLI::App app{"Loads the model library, creates one instance of a type and drives it."};
    std::string typeName;
    std::string library = DefaultLibraryPath(argv[0]);
    bool asJson = false;
    std::vector<std::string> settings;
    app.add_option("type", typeName, "Type name without prefix, e.g. CONNECTION")->required();
    app.add_option("settings", settings,
                   "NAME=VALUE values fixed before the run; dotted paths reach members, references and "
                   "elements, e.g. XDOMAIN.NUMSECTIONS=2 or XDOMAIN.SECTION(2).SPACINGPREFERENCE=0.01");
    app.add_option("--library", library, "Path of the model library");
    app.add_flag("--json", asJson, "Print one JSON document");
    CLI11_PARSE(app, argc, argv);

    try {
        ModelLibrary lib(library);
        Host::Get().Reset();
        InstanceRef instance(lib.Create(typeName));
        // The instances that references lead to are made, given their values and
        // settled first, as the host would have them ready before the instance runs.
        std::vector<LinkedInstance> linked = LinkReferences(lib, *instance);
        for (const std::string& setting : settings) {
            const std::size_t eq = setting.find('=');
            if (eq == std::string::npos) throw DriveError("a setting is NAME=VALUE, not " + setting);
            SetParameter(*instance, setting.substr(0, eq), setting.substr(eq + 1));
        }
        json linkedReport = json::array();
        for (LinkedInstance& l : linked) {
            SettleAssignments(*l.instance);
            linkedReport.push_back({{"name", l.name}, {"type", l.typeName}, {"values", Values(Host::Get().assignments)}});
        }
        Drive(*instance);
        const json report = Report(typeName, *instance, linkedReport, TermNames(linked));
        if (asJson) {
            std::cout << report.dump(2) << "\n";
        } else {
            PrintText(report, std::cout);
        }
        return Host::Get().errors.empty() ? 0 : 1;
    } catch (const DriveError& e) {
        std::cerr << "qtvhost: " << e.what() << "\n";
        return 2;
    }
}
