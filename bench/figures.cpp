#include "figures.h"

#include <iomanip>
#include <ostream>
#include <vector>

namespace Figures {

namespace {
struct Figure {
    std::string name;
    double value = 0;
    double target = 0;
    std::string note;
};

std::vector<Figure>& all()
{
    static std::vector<Figure> figures;
    return figures;
}
} // namespace

void report(const std::string& name, double value, double target, const std::string& note)
{
    for (Figure& f : all()) {
        if (f.name == name) {
            f = {name, value, target, note};
            return;
        }
    }
    all().push_back({name, value, target, note});
}

int print(std::ostream& out)
{
    if (all().empty())
        return 0;
    int missed = 0;
    out << "\nFigures of this run (ratios against a baseline measured in the same run)\n";
    for (const Figure& f : all()) {
        out << "  " << std::left << std::setw(52) << f.name << std::right << std::setw(9) << std::fixed
            << std::setprecision(2) << f.value;
        if (f.target > 0) {
            const bool met = f.value <= f.target;
            missed += met ? 0 : 1;
            out << "   target <= " << std::setprecision(1) << f.target << (met ? "   met" : "   NOT met");
        }
        if (!f.note.empty())
            out << "   (" << f.note << ")";
        out << '\n';
    }
    out.flush();
    return missed;
}

} // namespace Figures
