#include "GlyphGeometry.h"

#include <vtkCellArray.h>
#include <vtkCellData.h>
#include <vtkPoints.h>
#include <vtkPolyData.h>
#include <vtkUnsignedCharArray.h>

#include <cmath>

namespace {

const double pi = 3.14159265358979323846;
const int coneSides = 8;
const int ringSides = 16;

void cross(const double a[3], const double b[3], double out[3])
{
    out[0] = a[1] * b[2] - a[2] * b[1];
    out[1] = a[2] * b[0] - a[0] * b[2];
    out[2] = a[0] * b[1] - a[1] * b[0];
}

void appendColor(std::vector<unsigned char>& colors, Rgb c)
{
    colors.push_back(c.r);
    colors.push_back(c.g);
    colors.push_back(c.b);
}

}  // namespace

void perpendicularTo(const double v[3], double out[3])
{
    // Crossed with the axis it is least aligned with.
    const double ax = std::abs(v[0]), ay = std::abs(v[1]), az = std::abs(v[2]);
    const double other[3] = {ax <= ay && ax <= az ? 1.0 : 0.0, ay < ax && ay <= az ? 1.0 : 0.0,
                             az < ax && az < ay ? 1.0 : 0.0};
    cross(v, other, out);
    const double n = std::sqrt(out[0] * out[0] + out[1] * out[1] + out[2] * out[2]);
    for (int k = 0; k < 3; ++k)
        out[k] = n > 0.0 ? out[k] / n : 0.0;
}

vtkIdType GlyphGeometry::point(const double p[3])
{
    m_points.insert(m_points.end(), p, p + 3);
    return vtkIdType(m_points.size() / 3 - 1);
}

void GlyphGeometry::line(const double a[3], const double b[3], Rgb color)
{
    const double points[6] = {a[0], a[1], a[2], b[0], b[1], b[2]};
    polyline(points, 2, color);
}

void GlyphGeometry::polyline(const double* points, int count, Rgb color)
{
    if (count < 2)
        return;
    m_lines.push_back(count);
    for (int i = 0; i < count; ++i)
        m_lines.push_back(point(points + 3 * i));
    appendColor(m_lineColors, color);
}

void GlyphGeometry::triangle(const double a[3], const double b[3], const double c[3], Rgb color)
{
    m_polys.push_back(3);
    m_polys.push_back(point(a));
    m_polys.push_back(point(b));
    m_polys.push_back(point(c));
    appendColor(m_polyColors, color);
}

void GlyphGeometry::cone(const double tip[3], const double axis[3], double height, double radius, Rgb color)
{
    double u[3], w[3];
    perpendicularTo(axis, u);
    cross(axis, u, w);
    double base[3];
    for (int k = 0; k < 3; ++k)
        base[k] = tip[k] - height * axis[k];
    // Thousands of supports make one actor: its points are shared by the cone's faces, since
    // every vertex costs the software renderer its time on each frame.
    const vtkIdType tipId = point(tip);
    const vtkIdType baseId = point(base);
    vtkIdType rim[coneSides];
    for (int s = 0; s < coneSides; ++s) {
        const double angle = 2.0 * pi * s / coneSides;
        double p[3];
        for (int k = 0; k < 3; ++k)
            p[k] = base[k] + radius * (std::cos(angle) * u[k] + std::sin(angle) * w[k]);
        rim[s] = point(p);
    }
    for (int s = 0; s < coneSides; ++s) {
        const vtkIdType next = rim[(s + 1) % coneSides];
        m_polys.insert(m_polys.end(), {3, tipId, rim[s], next, 3, baseId, next, rim[s]});
        appendColor(m_polyColors, color);
        appendColor(m_polyColors, color);
    }
}

void GlyphGeometry::ring(const double centre[3], const double normal[3], double radius, Rgb color)
{
    double u[3], w[3];
    perpendicularTo(normal, u);
    cross(normal, u, w);
    double points[3 * (ringSides + 1)];
    for (int s = 0; s <= ringSides; ++s) {
        const double angle = 2.0 * pi * s / ringSides;
        for (int k = 0; k < 3; ++k)
            points[3 * s + k] = centre[k] + radius * (std::cos(angle) * u[k] + std::sin(angle) * w[k]);
    }
    polyline(points, ringSides + 1, color);
}

void GlyphGeometry::arrow(const double tail[3], const double tip[3], double head, Rgb color, int heads)
{
    double axis[3] = {tip[0] - tail[0], tip[1] - tail[1], tip[2] - tail[2]};
    const double length = std::sqrt(axis[0] * axis[0] + axis[1] * axis[1] + axis[2] * axis[2]);
    if (!(length > 0.0))
        return;
    for (double& a : axis)
        a /= length;
    // A short arrow keeps its heads within its length.
    head = std::min(head, length / (heads + 0.5));
    line(tail, tip, color);
    for (int h = 0; h < heads; ++h) {
        const double at[3] = {tip[0] - h * head * axis[0], tip[1] - h * head * axis[1],
                              tip[2] - h * head * axis[2]};
        cone(at, axis, head, 0.35 * head, color);
    }
}

vtkSmartPointer<vtkPolyData> GlyphGeometry::data() const
{
    auto points = vtkSmartPointer<vtkPoints>::New();
    points->SetNumberOfPoints(vtkIdType(m_points.size() / 3));
    for (vtkIdType i = 0; i < points->GetNumberOfPoints(); ++i)
        points->SetPoint(i, &m_points[3 * size_t(i)]);
    const auto cells = [](const std::vector<vtkIdType>& flat) {
        auto array = vtkSmartPointer<vtkCellArray>::New();
        for (size_t i = 0; i < flat.size(); i += size_t(flat[i]) + 1)
            array->InsertNextCell(flat[i], &flat[i + 1]);
        return array;
    };
    auto colors = vtkSmartPointer<vtkUnsignedCharArray>::New();
    colors->SetName("colors");
    colors->SetNumberOfComponents(3);
    for (unsigned char c : m_lineColors)
        colors->InsertNextValue(c);
    for (unsigned char c : m_polyColors)
        colors->InsertNextValue(c);
    auto data = vtkSmartPointer<vtkPolyData>::New();
    data->SetPoints(points);
    data->SetLines(cells(m_lines));
    data->SetPolys(cells(m_polys));
    data->GetCellData()->SetScalars(colors);
    return data;
}
