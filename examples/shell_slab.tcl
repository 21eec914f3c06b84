# Two-way floor slab: ShellMITC4 plate elements over a regular grid, carried vertically
# along its four edges, with its self weight applied as nodal loads.
# Units: kN, m, s.
wipe
model basic -ndm 3 -ndf 6

# ---- geometry and mesh
set lengthX 8.0
set lengthY 6.0
set nx 8
set ny 6
set thickness 0.20
set dx [expr {$lengthX / $nx}]
set dy [expr {$lengthY / $ny}]

# Tag of the grid node in column i, row j (both from 0).
proc nodeTag {i j} {
    global nx
    return [expr {$j * ($nx + 1) + $i + 1}]
}

for {set j 0} {$j <= $ny} {incr j} {
    for {set i 0} {$i <= $nx} {incr i} {
        node [nodeTag $i $j] [expr {$i * $dx}] [expr {$j * $dy}] 0.0
    }
}

# ---- material and plate section
set E 30.0e6
set nu 0.2
set rho 2.5
nDMaterial ElasticIsotropic 1 $E $nu
section ElasticMembranePlateSection 1 $E $nu $thickness $rho

# ---- elements, corners counter-clockwise seen from above
set eleTag 1
for {set j 0} {$j < $ny} {incr j} {
    for {set i 0} {$i < $nx} {incr i} {
        set i1 [expr {$i + 1}]
        set j1 [expr {$j + 1}]
        element ShellMITC4 $eleTag [nodeTag $i $j] [nodeTag $i1 $j] [nodeTag $i1 $j1] [nodeTag $i $j1] 1
        incr eleTag
    }
}

# ---- supports: vertical restraint along the edges; two corners also hold the slab in plane
proc support {i j} {
    global nx ny
    if {$i == 0 && $j == 0} {
        fix [nodeTag $i $j] 1 1 1 0 0 0
    } elseif {$i == $nx && $j == 0} {
        fix [nodeTag $i $j] 0 1 1 0 0 0
    } else {
        fix [nodeTag $i $j] 0 0 1 0 0 0
    }
}
for {set i 0} {$i <= $nx} {incr i} {
    support $i 0
    support $i $ny
}
for {set j 1} {$j < $ny} {incr j} {
    support 0 $j
    support $nx $j
}

# ---- self weight, lumped on the nodes by tributary area
set pressure [expr {$rho * 9.81 * $thickness}]
timeSeries Linear 1
pattern Plain 1 1 {
    for {set j 0} {$j <= $ny} {incr j} {
        for {set i 0} {$i <= $nx} {incr i} {
            set wx [expr {($i == 0 || $i == $nx) ? 0.5 : 1.0}]
            set wy [expr {($j == 0 || $j == $ny) ? 0.5 : 1.0}]
            load [nodeTag $i $j] 0.0 0.0 [expr {-$pressure * $dx * $dy * $wx * $wy}] 0.0 0.0 0.0
        }
    }
}

# ---- static analysis in ten steps
constraints Plain
numberer RCM
system BandGeneral
test NormDispIncr 1.0e-8 10
algorithm Newton
integrator LoadControl 0.1
analysis Static
analyze 10
puts "slab: [expr {($nx + 1) * ($ny + 1)}] nodes, [expr {$nx * $ny}] shells"
