VERSION 5.00
Begin VB.Form frmMain 
   BorderStyle     =   1  'Fixed Single
   Caption         =   "库存管理"
   ClientHeight    =   3195
   ClientLeft      =   45
   ClientTop       =   330
   ClientWidth     =   4680
   LinkTopic       =   "Form1"
   MaxButton       =   0   'False
   ScaleHeight     =   3195
   ScaleWidth      =   4680
   StartUpPosition =   2  'CenterScreen
   Begin VB.ListBox lstItems 
      Height          =   2010
      Left            =   120
      TabIndex        =   1
      Top             =   600
      Width           =   4455
   End
   Begin VB.CommandButton cmdAdd 
      Caption         =   "添加(&A)"
      Height          =   375
      Left            =   120
      TabIndex        =   0
      Top             =   120
      Width           =   1215
   End
End
Attribute VB_Name = "frmMain"
Attribute VB_GlobalNameSpace = False
Attribute VB_Creatable = False
Attribute VB_PredeclaredId = True
Attribute VB_Exposed = False
Option Explicit

' 窗体级的库存清单
Private mItems As Collection

Private Sub Form_Load()
    Set mItems = New Collection
    ' 启动时载入示例数据
    AddItem "螺丝", 120
    AddItem "Washer", 45
End Sub
    
Private Sub cmdAdd_Click()
	' 用制表符缩进的注释按代码行计
    Dim sName As String
    sName = InputBox("名称：")
    If Len(sName) = 0 Then Exit Sub ' 取消时什么也不做
    AddItem sName, 1
End Sub

Private Sub AddItem(ByVal sName As String, ByVal lQty As Long)
    Dim oItem As clsItem
    Set oItem = New clsItem
    oItem.Init sName, lQty
    mItems.Add oItem
    lstItems.AddItem FormatItem(oItem)
End Sub
