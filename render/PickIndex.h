// PickIndex: finds the cell of one actor group that a ray through the view meets, without a scan
// per click. The cells are sorted once into a grid of bins, and a pick looks only at the bins
// along the ray. Vertices and lines count as met within a tolerance, as they are drawn wider
// than they are; faces and solids where the ray crosses them.
//
//   PickIndex index(group.dataSet);                          // after a build or a result step
//   const PickIndex::Hit hit = index.pick(near, far, 0.05);   // hit.cell, hit.t along near-far
#pragma once

#include <vtkSmartPointer.h>
#include <vtkType.h>

#include <vector>

class vtkPointSet;

class PickIndex {
public:
    struct Hit {
        vtkIdType cell = -1;
        double t = 0.0;     // 0 at the ray's start, 1 at its end
        double miss = 0.0;  // distance from the ray (world units); 0 for a face it crosses
        bool found() const { return cell >= 0; }
        // Hits within NEAR of the ray (under the pointer) beat those farther off; among either,
        // the nearer the viewer wins. So a click lands on the front node under the pointer, not
        // on a neighbour in front of it, nor on a node deep inside a dense frame.
        bool betterThan(const Hit& other, double near) const
        {
            if (!found() || !other.found())
                return found();
            if ((miss <= near) != (other.miss <= near))
                return miss <= near;
            return t < other.t;
        }
    };

    // Reads the cells and their points as they are now; points moved later need a new index.
    explicit PickIndex(vtkPointSet* data);

    // The cell that the segment FROM-TO crosses, or passes within TOLERANCE (world units) of for
    // vertices and lines; the best by Hit::betterThan with NEAR.
    Hit pick(const double from[3], const double to[3], double tolerance, double near) const;

    // Built for DATA with its points unchanged since.
    bool isCurrentFor(vtkPointSet* data) const;

private:
    enum Shape : unsigned char { Vertex, Segment, Polygon, Hexahedron };
    struct Bin {
        int x, y, z;
    };

    Bin binOf(const double p[3]) const;
    int binIndex(int x, int y, int z) const { return (z * m_dims[1] + y) * m_dims[0] + x; }
    void placeGrid();
    void collectBins(vtkIdType cell, std::vector<std::pair<int, vtkIdType>>& pairs) const;
    Hit meet(vtkIdType cell, const double from[3], const double to[3], double tolerance) const;
    const double* point(vtkIdType id) const { return &m_xyz[3 * id]; }

    vtkPointSet* m_data = nullptr;  // identity only, never dereferenced after the build
    vtkMTimeType m_pointsTime = 0;
    std::vector<double> m_xyz;
    std::vector<Shape> m_shapes;
    std::vector<vtkIdType> m_cellStarts;  // into m_cellPoints, one more than there are cells
    std::vector<vtkIdType> m_cellPoints;
    double m_origin[3] = {0, 0, 0};
    double m_binSize = 1.0;
    int m_dims[3] = {1, 1, 1};
    std::vector<int> m_binStarts;  // into m_binCells, one more than there are bins
    std::vector<vtkIdType> m_binCells;
    mutable std::vector<unsigned> m_binSeen;
    mutable std::vector<unsigned> m_cellSeen;
    mutable unsigned m_query = 0;
};
