Imports System.Windows.Forms

' 主窗体：显示库存清单
Public Class MainForm

    Private ReadOnly store As New InventoryStore()

    Private Sub MainForm_Load(sender As Object, e As EventArgs) Handles MyBase.Load
        ' 启动时载入示例数据
        store.Add(New InventoryItem("螺丝", 120))
        store.Add(New InventoryItem("Washer", 45))
        RefreshList()
    End Sub

    Private Sub RefreshList()
        lstItems.Items.Clear()
        For Each item In store.Items
			' 用制表符缩进的注释按代码行计
            lstItems.Items.Add(item.ToString())
        Next
    End Sub

End Class
