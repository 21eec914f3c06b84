// GlyphGeometry: small symbols (lines, cones, rings, arrows, filled triangles) gathered into one
// poly data with a colour per cell, so that thousands of supports or load arrows make one actor.
//
//   GlyphGeometry g;
//   g.arrow(tail, tip, headLength, red);
//   actor->GetMapper()->SetInputData(g.data());   // colours as cell data, used directly
#pragma once

#include <vtkSmartPointer.h>
#include <vtkType.h>

#include <vector>

class vtkPolyData;

struct Rgb {
    unsigned char r, g, b;
};

class GlyphGeometry {
public:
    void line(const double a[3], const double b[3], Rgb color);
    // A polyline through COUNT points (3 values each); one cell.
    void polyline(const double* points, int count, Rgb color);
    void triangle(const double a[3], const double b[3], const double c[3], Rgb color);
    // A cone with its tip at TIP, its axis along the unit vector AXIS (from base to tip).
    void cone(const double tip[3], const double axis[3], double height, double radius, Rgb color);
    // A circle around CENTRE in the plane normal to the unit vector NORMAL.
    void ring(const double centre[3], const double normal[3], double radius, Rgb color);
    // A shaft from TAIL to TIP with HEADS cone heads (1 or 2, one behind the other) at the tip.
    void arrow(const double tail[3], const double tip[3], double head, Rgb color, int heads = 1);

    int lineCount() const { return int(m_lineColors.size()) / 3; }
    bool isEmpty() const { return m_points.empty(); }
    // Lines first, then polygons, as VTK orders the cells; colours in the array "colors".
    vtkSmartPointer<vtkPolyData> data() const;

private:
    vtkIdType point(const double p[3]);

    std::vector<double> m_points;
    std::vector<vtkIdType> m_lines;  // count, ids, count, ids, ...
    std::vector<vtkIdType> m_polys;
    std::vector<unsigned char> m_lineColors;
    std::vector<unsigned char> m_polyColors;
};

// A unit vector perpendicular to the unit vector V.
void perpendicularTo(const double v[3], double out[3]);
