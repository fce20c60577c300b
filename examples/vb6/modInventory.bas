Attribute VB_Name = "modInventory"
Option Explicit

'---------------------------------------------
' 库存模块：全局常量与启动代码
'---------------------------------------------
Public Const APP_TITLE As String = "库存管理"
Public Const MAX_ITEMS As Long = 500

Rem Rem lines are code, only the apostrophe marks a comment
Public Sub Main()
    frmMain.Show
End Sub
