Imports System.Reflection
Imports System.Runtime.InteropServices

<Assembly: AssemblyTitle("Inventory")>
<Assembly: AssemblyProduct("Inventory")>
<Assembly: ComVisible(False)>
<Assembly: AssemblyVersion("1.0.0.0")>
